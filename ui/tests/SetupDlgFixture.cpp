#include "ui/tests/SetupDlgFixture.h"

#include <filesystem>
#include <utility>

#include "backup/BackupFolder.h"
#include "backup/BackupList.h"
#include "framework/UserInput.h"
#include "ui/SetupResources.h"

void CPauseRecorder::Sleep(DWORD milliseconds) {
    requestsBeforeSleep.push_back(m_card.requests.size());
    CScopedForwardingDeviceApi::Sleep(milliseconds);
}

void CTestHost::FileWritten(const char* path, long size) {
    files.push_back({path, size});
}

CBackupFolderForTest::CBackupFolderForTest() {
    m_variables.Set(BACKUP_FOLDER_VARIABLE, Folder());
}

std::vector<std::string> CBackupFolderForTest::Files() const {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(Folder(), error)) {
        files.push_back(entry.path().string());
    }
    // Oldest first, as the store orders them: "eeprom-T.bin" before "eeprom-T-2.bin".
    std::vector<CBackupFile> listed;
    CFileError listError;
    if (ListBackups(Folder().c_str(), &listed, &listError) == 1 && listed.size() == files.size()) {
        files.clear();
        for (auto it = listed.rbegin(); it != listed.rend(); ++it) {
            files.push_back(it->path);
        }
    }
    return files;
}

CRegisteredResources::CRegisteredResources() {
    // The dialog loads its icon when it is constructed and its template when it runs.
    AfxSetResourceModule(&SetupResourceModule());
}

void CTestHost::DialogDestroyed(const framework::WindowState& dialog) {
    if (onDestroyed) {
        onDestroyed(dialog);
    }
    ScriptedHost::DialogDestroyed(dialog);
}

void SetupDlgTest::LoadCard(const CCardImage& image) {
    LoadCard(image.Image());
}

void SetupDlgTest::LoadCard(std::span<const std::uint8_t, EEPROM_SIZE> bytes) {
    std::copy(bytes.begin(), bytes.end(), card.eeprom);
}

void SetupDlgTest::WhileOpen(std::function<void()> check) {
    host.Do(
        "check",
        [check = std::move(check)](const framework::WindowState&) {
            check();
            return 1;
        },
        IDD_SETUP_DIALOG);
}

void SetupDlgTest::Pick(int controlId, const std::string& entryText) {
    host.Do(
        "pick " + entryText + " in " + std::to_string(controlId),
        [controlId, entryText](const framework::WindowState& dialog) {
            const framework::WindowState* combo = dialog.FindChild(controlId);
            if (combo == nullptr) {
                return 0;
            }
            for (std::size_t i = 0; i < combo->entries.size(); ++i) {
                if (combo->entries[i].text == entryText) {
                    return framework::UserPick(*combo, static_cast<int>(i));
                }
            }
            return 0;
        },
        IDD_SETUP_DIALOG);
}

void SetupDlgTest::Click(int controlId) {
    host.Click(controlId, IDD_SETUP_DIALOG);
}

INT_PTR SetupDlgTest::Run() {
    return dlg.DoModal();
}

INT_PTR SetupDlgTest::RunThenCancel() {
    host.Escape(IDD_SETUP_DIALOG);
    const INT_PTR result = dlg.DoModal();
    EXPECT_TRUE(host.Refused().empty()) << "refused: " << host.Refused().front();
    return result;
}

std::vector<CByteWrite> SetupDlgTest::Writes() const {
    std::vector<CByteWrite> writes;
    for (const CDeviceDouble::CRequest& request : card.requests) {
        if (request.code == IOCTL_CNF_WRITE_BYTE) {
            writes.push_back({request.input[0] | (request.input[1] << 8), request.input[2]});
        }
    }
    return writes;
}

std::vector<std::string> SetupDlgTest::BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : host.MessageBoxes()) {
        texts.push_back(box.text);
    }
    return texts;
}

std::string Text(const CComboBox& combo) {
    char text[256];
    combo.GetWindowText(text, sizeof text);
    return text;
}

std::string SelectedText(const CComboBox& combo) {
    const int index = combo.GetCurSel();
    if (index < 0) {
        return "(none)";
    }
    char text[256];
    combo.GetLBText(index, text, sizeof text);
    return text;
}

std::vector<std::string> Entries(const CComboBox& combo) {
    std::vector<std::string> entries;
    for (int i = 0; i < combo.GetCount(); ++i) {
        char text[256];
        combo.GetLBText(i, text, sizeof text);
        entries.push_back(text);
    }
    return entries;
}

std::vector<int> ItemData(const CComboBox& combo) {
    std::vector<int> data;
    for (int i = 0; i < combo.GetCount(); ++i) {
        data.push_back(static_cast<int>(combo.GetItemData(i)));
    }
    return data;
}

std::string Identifier(const CLogicalDevice& device) {
    return reinterpret_cast<const char*>(device.identifierData + 3);
}

void ExpectCodecOnWithFixedDefaults(const CSetupDlg& dlg) {
    const CLogicalDevice& codec = dlg.m_devices[0];
    EXPECT_EQ(codec.GetDeviceId(), 0x0E63A800u);
    EXPECT_EQ(Identifier(codec), "Codec");
    EXPECT_EQ(codec.hasDependentFunctions, 1);
    EXPECT_EQ(codec.dependentCount, 1);
    EXPECT_EQ(codec.dependentFunctions[0].ioCount, 1);
    EXPECT_EQ(SelectedText(dlg.m_wssIrq), "5");
    EXPECT_EQ(SelectedText(dlg.m_sbProIo), "220");
    EXPECT_EQ(SelectedText(dlg.m_wssRecordDma), "0");
    EXPECT_EQ(SelectedText(dlg.m_wssPlayDma), "1");
    EXPECT_EQ(SelectedText(dlg.m_fmIo), "388");
}
