#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "cli/Console.h"
#include "cli/WriteProgress.h"
#include "driver/testing/DeviceDouble.h"
#include "testsupport/FileContents.h"
#include "testsupport/TemporaryFolder.h"

using CImageBytes = std::vector<std::uint8_t>;

// The factory card's 2048 bytes.
CImageBytes FactoryBytes();
// image with count bytes at offset replaced by insert, cut or padded with 0xFF to 2048 bytes.
CImageBytes Splice(CImageBytes image, int offset, int count,
                   std::initializer_list<std::uint8_t> insert = {});
// The checksum after the End tag at endTag made right for the bytes from offset 32 on.
void FixChecksum(CImageBytes& image, int endTag);

// Runs vymcnf commands in this process on a card double, with a folder of the test's own for
// image files and backups, and keeps what they print.
class VymcnfTest : public ::testing::Test {
protected:
    VymcnfTest();

    // Runs `vymcnf words...`; out and err hold what it printed.
    int Run(std::initializer_list<std::string> words, CWriteListener* listener = nullptr);
    // The same with a standard output that takes nothing (a stream left closed by the caller,
    // a full disk): every write to it fails; out stays empty.
    int RunWithFailingOutput(std::initializer_list<std::string> words);

    std::string PathIn(const std::string& name) const {
        return (std::filesystem::path(m_folder.Folder()) / name).string();
    }
    // Backups go to folder from now on (the test's own folder until then).
    void SetBackupFolder(const std::string& folder) { m_variables.Set("VYMCNF_BACKUPS", folder); }
    // The emulated card's file, which messages name (the double serves the requests).
    void NameCardFile(const std::string& path) { m_variables.Set("VYMCNF_EEPROM", path); }
    std::string WriteFile(const std::string& name, const CImageBytes& bytes) const;
    std::string BackupFolder() const { return PathIn("backups"); }
    // The backups saved, newest first.
    std::vector<std::string> Backups() const;

    void LoadCard(const CImageBytes& bytes);
    CImageBytes Card() const;
    // The byte writes the card received: address, value.
    std::vector<std::pair<int, int>> Writes() const;
    int Reads() const;

    CDeviceDouble card;
    std::string out;
    std::string err;

private:
    CTemporaryFolder m_folder{"vymcnf-test-"};
    CScopedVariables m_variables;
};
