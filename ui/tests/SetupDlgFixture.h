#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "driver/testing/DeviceDouble.h"
#include "framework/Framework.h"
#include "framework/MessageQueue.h"
#include "framework/testing/ScriptedHost.h"
#include "pnp/FactoryImage.h"
#include "testsupport/CardImage.h"
#include "testsupport/TemporaryFolder.h"
#include "ui/Resource.h"
#include "ui/SetupDlg.h"

using CEepromBytes = std::array<std::uint8_t, EEPROM_SIZE>;

// The scripted host, with what the dialog tests need besides: the files the program said it
// wrote, and a look at each dialog as it goes.
class CTestHost : public framework::testing::ScriptedHost {
public:
    struct CWrittenFile {
        std::string path;
        long size;
    };

    void FileWritten(const char* path, long size) override;
    void DialogDestroyed(const framework::WindowState& dialog) override;

    // Runs as a dialog's windows go, while its member controls are still bound to them.
    std::function<void(const framework::WindowState&)> onDestroyed;

    std::vector<CWrittenFile> files;
};

// Stands in front of the card double on the device services and notes, for every pause the
// program asks of them, how many requests the card had received before it. The pause itself
// still reaches the double, which records it in its sleeps.
class CPauseRecorder final : public CScopedForwardingDeviceApi {
public:
    explicit CPauseRecorder(const CDeviceDouble& card) : m_card(card) {}

    void Sleep(DWORD milliseconds) override;

    std::vector<std::size_t> requestsBeforeSleep;

private:
    const CDeviceDouble& m_card;
};

// One byte write the card received.
struct CByteWrite {
    int address;
    int value;
    bool operator==(const CByteWrite&) const = default;
};

// Keeps the backups the dialog saves in a folder of the test's own (VYMCNF_BACKUPS), never the
// user's, and puts the variable back as it was afterwards.
class CBackupFolderForTest {
public:
    CBackupFolderForTest();
    CBackupFolderForTest(const CBackupFolderForTest&) = delete;
    CBackupFolderForTest& operator=(const CBackupFolderForTest&) = delete;

    const std::string& Folder() const { return m_folder.Folder(); }
    // The paths of every file in the folder; backups oldest first.
    std::vector<std::string> Files() const;

private:
    CTemporaryFolder m_folder{"vym-backups-"};
    CScopedVariables m_variables;
};

// Registers the program's resources before anything looks them up.
struct CRegisteredResources {
    CRegisteredResources();
};

// A setup dialog over a card double. Tests load the card, queue what the user does and what to
// look at while the dialog is open, then run it.
class SetupDlgTest : public ::testing::Test {
protected:
    void LoadCard(const CCardImage& image);
    void LoadCard(std::span<const std::uint8_t, EEPROM_SIZE> bytes);

    // Runs check while the setup dialog is open and waits for the user.
    void WhileOpen(std::function<void()> check);
    // The user picks the entry with this text in a combo box of the setup dialog.
    void Pick(int controlId, const std::string& entryText);
    void Click(int controlId);
    // Runs the setup dialog until the queued actions end it; returns what DoModal returns.
    INT_PTR Run();
    // Picks, clicks and checks are queued; Cancel is added so the dialog always ends.
    INT_PTR RunThenCancel();

    std::vector<CByteWrite> Writes() const;
    std::vector<std::string> BoxTexts() const;

    CRegisteredResources resources;
    CBackupFolderForTest backups;
    CDeviceDouble card;
    CPauseRecorder pauses{card};
    CTestHost host;
    CSetupDlg dlg;
};

// What a combo box shows and holds.
std::string Text(const CComboBox& combo);
std::string SelectedText(const CComboBox& combo);
std::vector<std::string> Entries(const CComboBox& combo);
std::vector<int> ItemData(const CComboBox& combo);

// The text of a device record's identifier string.
std::string Identifier(const CLogicalDevice& device);

// The Codec switched on with a fixed WSS base: its record enabled with one function, and the
// defaults its five other lists then show.
void ExpectCodecOnWithFixedDefaults(const CSetupDlg& dlg);
