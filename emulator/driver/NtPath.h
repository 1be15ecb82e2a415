/* Where the EEPROM file is, as pure text rules: from the EepromFile value of the service's
   Parameters key and the service's ImagePath to one NT path. No kernel types, so the same code
   runs in the driver and in native unit tests. */
#ifndef VYMCNF_NT_PATH_H
#define VYMCNF_NT_PATH_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One UTF-16 code unit, as the registry and the kernel's counted strings hold them. */
typedef uint16_t VYMCNF_CHAR;

/* A piece of text that need not be terminated. */
typedef struct VYMCNF_TEXT {
    const VYMCNF_CHAR* chars;
    unsigned count;
} VYMCNF_TEXT;

/* A path being built in the caller's buffer of capacity characters; never terminated. */
typedef struct VYMCNF_PATH {
    VYMCNF_CHAR* chars;
    unsigned count;
    unsigned capacity;
} VYMCNF_PATH;

/* A registry string value as read: present or not, and its text. */
typedef struct VYMCNF_VALUE {
    int present;
    VYMCNF_TEXT text;
} VYMCNF_VALUE;

typedef enum VYMCNF_PATH_RESULT {
    VYMCNF_PATH_OK = 1,
    VYMCNF_PATH_TOO_LONG,   /* the path does not fit; it is refused, never cut */
    VYMCNF_PATH_EMPTY_VALUE /* EepromFile is there but empty */
} VYMCNF_PATH_RESULT;

/* The name the EEPROM file has beside the driver when EepromFile does not name one. */
extern const VYMCNF_CHAR VYMCNF_DEFAULT_EEPROM_NAME[];

/* The text of a terminated string. */
VYMCNF_TEXT VymCnfTextOf(const VYMCNF_CHAR* terminated);

/* Registry strings may carry one or more terminators in their data; they are not text. */
VYMCNF_TEXT VymCnfWithoutTerminators(VYMCNF_TEXT text);

/* An ImagePath with spaces may stand in double quotes: the text inside them. */
VYMCNF_TEXT VymCnfUnquoted(VYMCNF_TEXT text);

/* 1 for C:\... and for anything that starts with a backslash (\\server\..., \??\...). */
int VymCnfIsAbsolute(VYMCNF_TEXT text);

/* Appends text; 0, with path unchanged, when it does not fit. */
int VymCnfAppend(VYMCNF_PATH* path, VYMCNF_TEXT text);

/* Appends a Win32 or NT path in NT form: C:\x -> \??\C:\x, \\server\share\x ->
   \??\UNC\server\share\x, \\?\C:\x and \\.\C:\x -> \??\C:\x; a path that starts with a single
   backslash is already an NT path (\??\..., \SystemRoot\..., \Device\...). A relative path is
   taken from the system folder, as the system does for a driver's ImagePath. 0, with path
   unchanged, when the result does not fit. */
int VymCnfAppendNtForm(VYMCNF_PATH* path, VYMCNF_TEXT text);

/* Cuts the path after its last backslash; 0 when it has none. */
int VymCnfCutToFolder(VYMCNF_PATH* path);

/* The NT path of the EEPROM file: an absolute EepromFile as it is (in NT form), a relative one
   or the default name in the driver's folder; the driver's folder is that of its ImagePath, or
   the system's drivers folder when the service has none (or an empty one). On any result but
   VYMCNF_PATH_OK the path is left empty. */
VYMCNF_PATH_RESULT VymCnfComposeEepromPath(VYMCNF_PATH* path, VYMCNF_VALUE eepromFile,
                                           VYMCNF_VALUE imagePath);

#ifdef __cplusplus
}
#endif

#endif
