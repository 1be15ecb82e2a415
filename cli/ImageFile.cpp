#include "cli/ImageFile.h"

#include <cstdio>
#include <cstring>

#include "files/PlatformFiles.h"
#include "pnp/IntelHex.h"

int LoadImageFile(const char* path, std::uint8_t (&image)[EEPROM_SIZE], CImageFileResult* result) {
    *result = CImageFileResult{};
    bool notAFile = false;
    std::FILE* file = OpenRegularFileForReading(path, &notAFile, &result->error);
    if (file == nullptr) {
        result->problem = notAFile ? ImageFileProblem::NotAFile : ImageFileProblem::CannotRead;
        return 0;
    }
    // One byte more than the longest file taken: a longer one is told apart without reading
    // it all.
    static std::uint8_t bytes[MAX_IMAGE_FILE_BYTES + 1];
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
    const bool failed = std::ferror(file) != 0;
    if (failed) {
        result->problem = ImageFileProblem::CannotRead;
        FailWithLastError(&result->error);
    } else if (LooksLikeIntelHex(bytes, got) && got <= MAX_IMAGE_FILE_BYTES) {
        result->hex = true;
        CIntelHexResult hex;
        if (ReadIntelHex(bytes, got, image, &hex) == 0) {
            result->problem = ImageFileProblem::BadHex;
            result->hexLine = hex.line;
            result->hexReason = hex.reason;
        }
        result->unfilled = hex.unfilled;
    } else if (got != EEPROM_SIZE) {
        result->problem = ImageFileProblem::WrongSize;
        result->size = static_cast<long>(got);
        if (got > EEPROM_SIZE) {
            result->size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
        }
    }
    std::fclose(file);
    if (result->problem != ImageFileProblem::None) {
        return 0;
    }
    if (!result->hex) {
        std::memcpy(image, bytes, EEPROM_SIZE);
    }
    return 1;
}
