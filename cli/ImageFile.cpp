#include "cli/ImageFile.h"

#include <cstdio>
#include <cstring>

#include "backup/PlatformFiles.h"

int LoadImageFile(const char* path, std::uint8_t (&image)[EEPROM_SIZE], CImageFileResult* result) {
    *result = CImageFileResult{};
    bool notAFile = false;
    std::FILE* file = OpenRegularFileForReading(path, &notAFile, &result->error);
    if (file == nullptr) {
        result->problem = notAFile ? ImageFileProblem::NotAFile : ImageFileProblem::CannotRead;
        return 0;
    }
    // One byte more than an image: a longer file is told apart without reading it all.
    std::uint8_t bytes[EEPROM_SIZE + 1];
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
    const bool failed = std::ferror(file) != 0;
    if (failed) {
        result->problem = ImageFileProblem::CannotRead;
        FailWithLastError(&result->error);
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
    std::memcpy(image, bytes, EEPROM_SIZE);
    return 1;
}
