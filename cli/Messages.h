#pragma once

#include <string>

#include "backup/BackupStore.h"
#include "cli/ImageFile.h"
#include "cli/ImageSummary.h"

// Words several commands use.

// An EEPROM address as vymcnf shows every one: 0x042.
std::string AddressText(int address);

// Why an image file cannot be used, as a sentence: "card.bin is 100 bytes long; an EEPROM
// image is exactly 2048 bytes." or "couldn't read card.bin: REASON."
std::string ImageFileProblemText(const std::string& file, const CImageFileResult& result);

// What the user should know of an image file that was taken: "dump.hex: 1024 bytes that no
// record gives are taken as 0xFF."; empty when there is nothing to tell.
std::string ImageFileNoticeText(const std::string& file, const CImageFileResult& result);
// That notice as "vymcnf: NOTICE" on the console's error stream, when there is one.
struct CConsole;
void TellImageFileNotice(CConsole& console, const std::string& file,
                         const CImageFileResult& result);

// Loads the image file a command works on, telling the user on the console what there is to
// know: why it cannot be used, followed by consequence (" Nothing was written."), or the notice
// of bytes no record gave. Returns VYMCNF_DONE, or VYMCNF_FAILED once it has said why.
int LoadCommandImage(CConsole& console, const std::string& file, std::uint8_t (&image)[EEPROM_SIZE],
                     const char* consequence = "");

// Why an image could not be saved as file, as a sentence: "out.bin exists already; --force
// replaces it. Nothing was saved." or "couldn't save out.bin: REASON."
std::string SaveProblemText(const std::string& file, const CFileError& error);

// How many devices the reader finds: "6 logical devices", "no logical device", "3 logical
// devices and then a malformed one".
std::string ReadableDevicesText(const CImageSummary& summary);

// "1 byte differs", "3 bytes differ".
std::string BytesDifferText(int differences);

// Why a backup could not be saved, as a sentence naming the folder and the system's reason.
std::string BackupFailureText(const CSavedBackup& backup);

// Where the card's earlier image is and how it goes back, as a sentence; with force the command
// given carries --force (for a backup that the write checks would refuse).
std::string RestoreText(const char* backupPath, bool force = false);
