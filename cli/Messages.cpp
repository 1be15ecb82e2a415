#include "cli/Messages.h"

#include <cstdio>

#include "backup/RestoreCommand.h"
#include "cli/Console.h"
#include "text/Sentences.h"
#include "text/TextJoin.h"

std::string AddressText(int address) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%03X", static_cast<unsigned>(address));
    return text;
}

std::string ImageFileProblemText(const std::string& file, const CImageFileResult& result) {
    if (result.problem == ImageFileProblem::CannotRead) {
        return JoinText("couldn't read ", file, ": ", result.error.reason,
                        FullStop(result.error.reason));
    }
    if (result.problem == ImageFileProblem::NotAFile) {
        return JoinText("couldn't read ", file,
                        ": it is not a regular file; an EEPROM image is a file of 2048 bytes.");
    }
    if (result.problem == ImageFileProblem::BadHex) {
        return JoinText(file, " line ", std::to_string(result.hexLine), ": ", result.hexReason,
                        "; the file is not a usable Intel HEX image.");
    }
    const std::string size = result.size >= 0
                                 ? JoinText("is ", std::to_string(result.size), " bytes long")
                                 : std::string("is too long");
    return JoinText(file, " ", size, "; an EEPROM image is exactly 2048 bytes.");
}

std::string ImageFileNoticeText(const std::string& file, const CImageFileResult& result) {
    if (!result.hex || result.unfilled == 0) {
        return std::string();
    }
    return JoinText(file, ": ", std::to_string(result.unfilled),
                    result.unfilled == 1 ? " byte" : " bytes",
                    " that no record gives are taken as 0xFF.");
}

void TellImageFileNotice(CConsole& console, const std::string& file,
                         const CImageFileResult& result) {
    const std::string notice = ImageFileNoticeText(file, result);
    if (!notice.empty()) {
        std::fflush(console.out);
        std::fprintf(console.err, "vymcnf: %s\n", notice.c_str());
    }
}

int LoadCommandImage(CConsole& console, const std::string& file, std::uint8_t (&image)[EEPROM_SIZE],
                     const char* consequence) {
    CImageFileResult loaded;
    if (LoadImageFile(file.c_str(), image, &loaded) == 0) {
        return Fail(console, "%s%s", ImageFileProblemText(file, loaded).c_str(), consequence);
    }
    TellImageFileNotice(console, file, loaded);
    return VYMCNF_DONE;
}

std::string SaveProblemText(const std::string& file, const CFileError& error) {
    if (IsNameTaken(error)) {
        return JoinText(file, " exists already; --force replaces it. Nothing was saved.");
    }
    return JoinText("couldn't save ", file, ": ", error.reason, FullStop(error.reason));
}

std::string ReadableDevicesText(const CImageSummary& summary) {
    if (summary.headerLength == 0) {
        return "no logical device";
    }
    const int count = static_cast<int>(summary.devices.size());
    std::string text = JoinText(std::to_string(count), " ", LogicalDevicesWords(count));
    if (summary.malformedSlot >= 0) {
        text += JoinText(" and then a malformed one at offset ",
                         std::to_string(summary.malformedOffset));
    }
    return text;
}

std::string BytesDifferText(int differences) {
    return JoinText(std::to_string(differences), " ", BytesDifferWords(differences));
}

std::string BackupFailureText(const CSavedBackup& backup) {
    const std::string reason = JoinText(backup.error.reason, FullStop(backup.error.reason));
    if (backup.folder[0] == '\0') {
        return JoinText("couldn't save a backup of the card: ", reason);
    }
    return JoinText("couldn't save a backup of the card in ", backup.folder, ": ", reason,
                    " (VYMCNF_BACKUPS names another folder for backups.)");
}

std::string RestoreText(const char* backupPath, bool force) {
    char restore[BACKUP_PATH_SIZE * 2 + 32];
    return JoinText("The card as it was before is saved in ", backupPath, "; to put it back, run: ",
                    RestoreCommand(backupPath, restore, sizeof restore, force));
}
