/* The two requests the configuration driver serves, as both the driver and its user-mode
   tests see them. Plain C so the kernel-mode driver can include it. */
#ifndef VYMCNF_CNF_REQUEST_H
#define VYMCNF_CNF_REQUEST_H

/* Device type and function numbers lie in the ranges Windows leaves to vendors. */
#define VYMCNF_DEVICE_TYPE 0x9C40u
#define VYMCNF_FUNCTION_WRITE_BYTE 0x913u
#define VYMCNF_FUNCTION_READ_BYTE 0x914u

/* CTL_CODE(VYMCNF_DEVICE_TYPE, function, METHOD_BUFFERED, access), spelled out so the values
   can be checked against the ones the program was built with. */
#define IOCTL_CNF_READ_BYTE 0x9C406450u  /* function 0x914, FILE_READ_ACCESS */
#define IOCTL_CNF_WRITE_BYTE 0x9C40A44Cu /* function 0x913, FILE_WRITE_ACCESS */

/* Every request carries exactly this many bytes: address low, address high, value, reserved.
   A read returns the same four bytes with the EEPROM byte in the value position. */
#define CNF_REQUEST_SIZE 4u
#define CNF_REQUEST_ADDRESS_LOW 0
#define CNF_REQUEST_ADDRESS_HIGH 1
#define CNF_REQUEST_VALUE 2
#define CNF_REQUEST_RESERVED 3

/* The EEPROM holds this many bytes, addressed 0 to CNF_EEPROM_SIZE - 1. */
#define CNF_EEPROM_SIZE 2048u

#endif
