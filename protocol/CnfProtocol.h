/* How a program talks to the card's configuration driver: the device's names, the two I/O
   control codes and the 4-byte request they exchange. One header for both sides, the program's
   channel (driver/) and the emulated card driver (emulator/); plain C so the kernel-mode driver
   can include it. */
#ifndef VYMCNF_CNF_PROTOCOL_H
#define VYMCNF_CNF_PROTOCOL_H

/* The device: \Device\VymCnf in the kernel, with the link \DosDevices\VymCnf that programs
   open as \\.\VymCnf. */
#define CNF_NAME "VymCnf"
#define CNF_DEVICE_PATH "\\\\.\\" CNF_NAME
#define CNF_KERNEL_DEVICE_NAME L"\\Device\\" CNF_NAME
#define CNF_KERNEL_LINK_NAME L"\\DosDevices\\" CNF_NAME

/* Windows' rule for I/O control codes (CTL_CODE of winioctl.h): device type in bits 31 to 16,
   required access in bits 15 and 14, function number in bits 13 to 2, transfer method in bits 1
   and 0. Device type and function numbers lie in the ranges Windows leaves to vendors. */
#define CNF_CTL_CODE(type, function, method, access) \
    (((type) << 16) | ((access) << 14) | ((function) << 2) | (method))
#define VYMCNF_DEVICE_TYPE 0x9C40u
#define VYMCNF_FUNCTION_WRITE_BYTE 0x913u
#define VYMCNF_FUNCTION_READ_BYTE 0x914u
#define CNF_METHOD_BUFFERED 0u
#define CNF_FILE_READ_ACCESS 1u
#define CNF_FILE_WRITE_ACCESS 2u

#define IOCTL_CNF_READ_BYTE                                                          \
    CNF_CTL_CODE(VYMCNF_DEVICE_TYPE, VYMCNF_FUNCTION_READ_BYTE, CNF_METHOD_BUFFERED, \
                 CNF_FILE_READ_ACCESS) /* 0x9C406450 */
#define IOCTL_CNF_WRITE_BYTE                                                          \
    CNF_CTL_CODE(VYMCNF_DEVICE_TYPE, VYMCNF_FUNCTION_WRITE_BYTE, CNF_METHOD_BUFFERED, \
                 CNF_FILE_WRITE_ACCESS) /* 0x9C40A44C */

/* Every request carries exactly these four bytes, the input of both codes: address low,
   address high, value, reserved (sent as 0). A read returns the same four bytes with the EEPROM
   byte in the value position; a write has no output. */
typedef struct CNF_BYTE_REQUEST {
    unsigned char addressLow;
    unsigned char addressHigh;
    unsigned char value; /* read: the byte read, on return; write: the byte to write */
    unsigned char reserved;
} CNF_BYTE_REQUEST;

#define CNF_REQUEST_SIZE 4u
#define CNF_REQUEST_ADDRESS_LOW 0
#define CNF_REQUEST_ADDRESS_HIGH 1
#define CNF_REQUEST_VALUE 2
#define CNF_REQUEST_RESERVED 3

/* The EEPROM holds this many bytes, addressed 0 to CNF_EEPROM_SIZE - 1. */
#define CNF_EEPROM_SIZE 2048

#ifdef __cplusplus
static_assert(IOCTL_CNF_READ_BYTE == 0x9C406450u, "the read code the driver serves");
static_assert(IOCTL_CNF_WRITE_BYTE == 0x9C40A44Cu, "the write code the driver serves");
static_assert(sizeof(CNF_BYTE_REQUEST) == CNF_REQUEST_SIZE, "four bytes, no padding");
#else
_Static_assert(IOCTL_CNF_READ_BYTE == 0x9C406450u, "the read code the driver serves");
_Static_assert(IOCTL_CNF_WRITE_BYTE == 0x9C40A44Cu, "the write code the driver serves");
_Static_assert(sizeof(CNF_BYTE_REQUEST) == CNF_REQUEST_SIZE, "four bytes, no padding");
#endif

#endif
