/* The text rules that lead from the service's registry values to the EEPROM file's NT path. */
#include "emulator/driver/NtPath.h"

const VYMCNF_CHAR VYMCNF_DEFAULT_EEPROM_NAME[] = u"vymcnf.bin";

static const VYMCNF_CHAR kDosDevices[] = u"\\??\\";
static const VYMCNF_CHAR kUncDevices[] = u"\\??\\UNC\\";
static const VYMCNF_CHAR kSystemRoot[] = u"\\SystemRoot\\";
static const VYMCNF_CHAR kSystemDrivers[] = u"\\SystemRoot\\System32\\drivers\\";

VYMCNF_TEXT VymCnfTextOf(const VYMCNF_CHAR* terminated) {
    VYMCNF_TEXT text;
    text.chars = terminated;
    text.count = 0;
    while (terminated[text.count] != 0) {
        ++text.count;
    }
    return text;
}

static VYMCNF_TEXT Rest(VYMCNF_TEXT text, unsigned skip) {
    text.chars += skip;
    text.count -= skip;
    return text;
}

static int StartsWith(VYMCNF_TEXT text, const VYMCNF_CHAR* prefix) {
    unsigned i;
    for (i = 0; prefix[i] != 0; ++i) {
        if (i >= text.count || text.chars[i] != prefix[i]) {
            return 0;
        }
    }
    return 1;
}

VYMCNF_TEXT VymCnfWithoutTerminators(VYMCNF_TEXT text) {
    while (text.count > 0 && text.chars[text.count - 1] == 0) {
        --text.count;
    }
    return text;
}

VYMCNF_TEXT VymCnfUnquoted(VYMCNF_TEXT text) {
    unsigned end = 0;
    if (text.count == 0 || text.chars[0] != u'"') {
        return text;
    }
    text = Rest(text, 1);
    while (end < text.count && text.chars[end] != u'"') {
        ++end;
    }
    text.count = end;
    return text;
}

static int IsDriveLetter(VYMCNF_CHAR c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

static int HasDrive(VYMCNF_TEXT text) {
    return text.count >= 2 && IsDriveLetter(text.chars[0]) && text.chars[1] == u':';
}

int VymCnfIsAbsolute(VYMCNF_TEXT text) {
    return (text.count >= 1 && text.chars[0] == u'\\') || HasDrive(text);
}

int VymCnfAppend(VYMCNF_PATH* path, VYMCNF_TEXT text) {
    unsigned i;
    if (text.count > path->capacity - path->count) {
        return 0;
    }
    for (i = 0; i < text.count; ++i) {
        path->chars[path->count + i] = text.chars[i];
    }
    path->count += text.count;
    return 1;
}

/* Both or neither. */
static int AppendBoth(VYMCNF_PATH* path, const VYMCNF_CHAR* prefix, VYMCNF_TEXT text) {
    unsigned before = path->count;
    if (VymCnfAppend(path, VymCnfTextOf(prefix)) && VymCnfAppend(path, text)) {
        return 1;
    }
    path->count = before;
    return 0;
}

int VymCnfAppendNtForm(VYMCNF_PATH* path, VYMCNF_TEXT text) {
    if (StartsWith(text, u"\\\\?\\") || StartsWith(text, u"\\\\.\\")) {
        return AppendBoth(path, kDosDevices, Rest(text, 4));
    }
    if (StartsWith(text, u"\\\\")) {
        return AppendBoth(path, kUncDevices, Rest(text, 2));
    }
    if (StartsWith(text, u"\\")) {
        return VymCnfAppend(path, text);
    }
    if (HasDrive(text)) {
        return AppendBoth(path, kDosDevices, text);
    }
    return AppendBoth(path, kSystemRoot, text);
}

int VymCnfCutToFolder(VYMCNF_PATH* path) {
    unsigned count = path->count;
    while (count > 0 && path->chars[count - 1] != u'\\') {
        --count;
    }
    if (count == 0) {
        return 0;
    }
    path->count = count;
    return 1;
}

static VYMCNF_PATH_RESULT Fail(VYMCNF_PATH* path, VYMCNF_PATH_RESULT result) {
    path->count = 0;
    return result;
}

VYMCNF_PATH_RESULT VymCnfComposeEepromPath(VYMCNF_PATH* path, VYMCNF_VALUE eepromFile,
                                           VYMCNF_VALUE imagePath) {
    VYMCNF_TEXT name = VymCnfTextOf(VYMCNF_DEFAULT_EEPROM_NAME);

    path->count = 0;
    if (eepromFile.present) {
        name = VymCnfWithoutTerminators(eepromFile.text);
        if (name.count == 0) {
            return Fail(path, VYMCNF_PATH_EMPTY_VALUE);
        }
        if (VymCnfIsAbsolute(name)) {
            return VymCnfAppendNtForm(path, name) ? VYMCNF_PATH_OK
                                                  : Fail(path, VYMCNF_PATH_TOO_LONG);
        }
    }

    VYMCNF_TEXT image = imagePath.present ? VymCnfUnquoted(VymCnfWithoutTerminators(imagePath.text))
                                          : VymCnfTextOf(u"");
    if (image.count == 0) {
        if (!VymCnfAppend(path, VymCnfTextOf(kSystemDrivers))) {
            return Fail(path, VYMCNF_PATH_TOO_LONG);
        }
    } else {
        if (!VymCnfAppendNtForm(path, image)) {
            return Fail(path, VYMCNF_PATH_TOO_LONG);
        }
        /* Every NT form starts with a backslash, so there is always a folder to keep. */
        VymCnfCutToFolder(path);
    }
    return VymCnfAppend(path, name) ? VYMCNF_PATH_OK : Fail(path, VYMCNF_PATH_TOO_LONG);
}
