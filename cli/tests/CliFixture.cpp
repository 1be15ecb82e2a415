#include "cli/tests/CliFixture.h"

#include <cstdio>
#include <fstream>

#include "backup/BackupFolder.h"
#include "backup/BackupList.h"
#include "cli/Vymcnf.h"
#include "pnp/FactoryImage.h"
#include "pnp/ImageWriter.h"
#include "protocol/CnfProtocol.h"

namespace {

std::string Drain(std::FILE* file) {
    std::string text;
    std::fflush(file);
    std::rewind(file);
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
        text.append(chunk, got);
    }
    std::fclose(file);
    return text;
}

}  // namespace

CImageBytes FactoryBytes() {
    return CImageBytes(FactoryImage().begin(), FactoryImage().end());
}

CImageBytes Splice(CImageBytes image, int offset, int count,
                   std::initializer_list<std::uint8_t> insert) {
    image.erase(image.begin() + offset, image.begin() + offset + count);
    image.insert(image.begin() + offset, insert.begin(), insert.end());
    image.resize(2048, 0xFF);
    return image;
}

void FixChecksum(CImageBytes& image, int endTag) {
    image[static_cast<std::size_t>(endTag + 1)] =
        ImageChecksum(std::span<const std::uint8_t>(image).subspan(
            32, static_cast<std::size_t>(endTag + 1 - 32)));
}

VymcnfTest::VymcnfTest() {
    m_variables.Set(BACKUP_FOLDER_VARIABLE, BackupFolder());
    LoadCard(FactoryBytes());
}

int VymcnfTest::Run(std::initializer_list<std::string> words, CWriteListener* listener) {
    std::vector<const char*> argv{"vymcnf"};
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    CConsole console;
    console.out = std::tmpfile();
    console.err = std::tmpfile();
    EXPECT_NE(console.out, nullptr);
    EXPECT_NE(console.err, nullptr);
    const int status = RunVymcnf(static_cast<int>(argv.size()), argv.data(), console, listener);
    out = Drain(console.out);
    err = Drain(console.err);
    return status;
}

int VymcnfTest::RunWithFailingOutput(std::initializer_list<std::string> words) {
    std::vector<const char*> argv{"vymcnf"};
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    CConsole console;
#ifdef _WIN32
    console.out = std::fopen("NUL", "r");  // open, but for reading only
#else
    console.out = std::fopen("/dev/null", "r");
#endif
    console.err = std::tmpfile();
    EXPECT_NE(console.out, nullptr);
    EXPECT_NE(console.err, nullptr);
    const int status = RunVymcnf(static_cast<int>(argv.size()), argv.data(), console, nullptr);
    std::fclose(console.out);
    out.clear();
    err = Drain(console.err);
    return status;
}

std::string VymcnfTest::WriteFile(const std::string& name, const CImageBytes& bytes) const {
    const std::string path = PathIn(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<std::string> VymcnfTest::Backups() const {
    std::vector<CBackupFile> backups;
    CFileError error;
    ListBackups(BackupFolder().c_str(), &backups, &error);
    std::vector<std::string> paths;
    for (const CBackupFile& backup : backups) {
        paths.push_back(backup.path);
    }
    return paths;
}

void VymcnfTest::LoadCard(const CImageBytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), card.eeprom);
}

CImageBytes VymcnfTest::Card() const {
    return CImageBytes(card.eeprom, card.eeprom + 2048);
}

std::vector<std::pair<int, int>> VymcnfTest::Writes() const {
    std::vector<std::pair<int, int>> writes;
    for (const CDeviceDouble::CRequest& request : card.requests) {
        if (request.code == IOCTL_CNF_WRITE_BYTE) {
            writes.emplace_back(request.input[0] | (request.input[1] << 8), request.input[2]);
        }
    }
    return writes;
}

int VymcnfTest::Reads() const {
    int reads = 0;
    for (const CDeviceDouble::CRequest& request : card.requests) {
        reads += request.code == IOCTL_CNF_READ_BYTE ? 1 : 0;
    }
    return reads;
}
