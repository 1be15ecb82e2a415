/* What the card answers to a control request before it touches the EEPROM: which requests it
   serves, the buffer sizes each takes and the addresses it holds. The kernel-mode driver, the
   emulated card and the test double all judge a request here, so they cannot drift apart; each
   turns the verdict into its own kind of status. Plain C with no library calls, for the kernel. */
#ifndef VYMCNF_CNF_REQUEST_RULE_H
#define VYMCNF_CNF_REQUEST_RULE_H

#include "protocol/CnfProtocol.h"

typedef enum CNF_REQUEST_VERDICT {
    CNF_REQUEST_SERVED = 0,       /* a request the card carries out */
    CNF_REQUEST_UNKNOWN_CODE,     /* neither of the two codes */
    CNF_REQUEST_INVALID,          /* wrong sizes, no input, or an address past the EEPROM */
    CNF_REQUEST_OUTPUT_TOO_SMALL, /* a read with room for less than the four bytes */
} CNF_REQUEST_VERDICT;

/* The EEPROM address the four bytes of a request name: bytes 0 and 1, low byte first. */
static inline unsigned CnfRequestAddress(const void* request) {
    const unsigned char* bytes = (const unsigned char*)request;
    return (unsigned)bytes[CNF_REQUEST_ADDRESS_LOW] |
           ((unsigned)bytes[CNF_REQUEST_ADDRESS_HIGH] << 8);
}

/* The verdict on a request with the given buffers (a missing buffer is a null pointer). A read
   takes the four bytes in and gives them back; a write takes them in and gives nothing, so a
   caller that offers it an output buffer is making some other request. */
static inline CNF_REQUEST_VERDICT CnfJudgeRequest(unsigned long code, const void* input,
                                                  unsigned long inputSize, const void* output,
                                                  unsigned long outputSize) {
    if (code != IOCTL_CNF_READ_BYTE && code != IOCTL_CNF_WRITE_BYTE) {
        return CNF_REQUEST_UNKNOWN_CODE;
    }
    if (input == 0 || inputSize != CNF_REQUEST_SIZE) {
        return CNF_REQUEST_INVALID;
    }
    if (code == IOCTL_CNF_READ_BYTE) {
        if (output == 0 || outputSize < CNF_REQUEST_SIZE) {
            return CNF_REQUEST_OUTPUT_TOO_SMALL;
        }
        if (outputSize != CNF_REQUEST_SIZE) {
            return CNF_REQUEST_INVALID;
        }
    } else if (outputSize != 0) {
        return CNF_REQUEST_INVALID;
    }
    if (CnfRequestAddress(input) >= CNF_EEPROM_SIZE) {
        return CNF_REQUEST_INVALID;
    }
    return CNF_REQUEST_SERVED;
}

#endif
