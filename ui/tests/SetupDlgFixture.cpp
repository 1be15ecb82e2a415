#include "ui/tests/SetupDlgFixture.h"

#include <algorithm>
#include <utility>

#include "framework/UserInput.h"
#include "ui/SetupResources.h"

void CPauseRecorder::Sleep(DWORD milliseconds) {
    requestsBeforeSleep.push_back(m_card.requests.size());
    CScopedForwardingDeviceApi::Sleep(milliseconds);
}

void CTestHost::FileWritten(const char* path, long size) {
    files.push_back({path, size});
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
