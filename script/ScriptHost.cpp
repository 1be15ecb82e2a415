#include "script/ScriptHost.h"

#include "framework/HostServices.h"
#include "framework/UserInput.h"
#include "script/ScriptCommand.h"
#include "text/TextJoin.h"
#include "ui/DialogTemplates.h"
#include "ui/Resource.h"

namespace {

const char* AnswerName(int answer) {
    switch (answer) {
        case IDOK:
            return "OK";
        case IDCANCEL:
            return "Cancel";
        case IDABORT:
            return "Abort";
        case IDRETRY:
            return "Retry";
        case IDIGNORE:
            return "Ignore";
        case IDYES:
            return "Yes";
        case IDNO:
            return "No";
        default:
            return "?";
    }
}

// The button a Yes from the script stands for in a question that has no Yes button.
int FirstButton(UINT buttons) {
    switch (buttons) {
        case MB_OKCANCEL:
            return IDOK;
        case MB_ABORTRETRYIGNORE:
        case MB_RETRYCANCEL:
            return IDRETRY;
        default:
            return IDYES;
    }
}

std::string Describe(const CControlNames::CNamedControl& control, const char* kind) {
    return JoinText(kind, " ", std::to_string(control.id), " (", control.label, ")");
}

}  // namespace

CScriptHost::CScriptHost(CLineSource& script, CEventWriter& events, CWriteCountingDeviceApi& writes,
                         CPacingDeviceApi& pace)
    : m_script(script),
      m_events(events),
      m_writes(writes),
      m_pace(pace),
      m_names(SetupDialogTemplate()) {}

bool CScriptHost::IsSetupDialog(const framework::WindowState& dialog) const {
    return dialog.dialogTemplate != nullptr && dialog.dialogTemplate->id == IDD_SETUP_DIALOG;
}

bool CScriptHost::WaitForInput(const framework::WindowState* active, int timeoutMs) {
    if (active == nullptr || m_inputEnded) {
        return false;
    }
    if (!IsSetupDialog(*active)) {
        // Only the setup dialog takes commands; any other dialog runs to its end inside the
        // command that opened it, on timers that need not be waited for.
        if (timeoutMs < 0) {
            Fail();
            return false;
        }
        m_nowMs += static_cast<std::uint64_t>(timeoutMs);
        return true;
    }
    // Once the events cannot be written nobody learns what the run does: it stops.
    if (SignalAfterWrite() || !m_events.Good() || !RunNextCommand(*active)) {
        CloseAsCancel(*active);
    }
    return true;
}

bool CScriptHost::SignalAfterWrite() {
    if (!m_writeSignals) {
        return false;
    }
    m_writeSignals.reset();
    m_endingSignal = NotedWriteSignal();
    return m_endingSignal != 0;
}

bool CScriptHost::RunNextCommand(const framework::WindowState& dialog) {
    std::string line;
    while (m_script.ReadLine(line)) {
        ++m_lineNumber;
        // Editors on Windows like to start a UTF-8 file with a byte order mark.
        constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
        if (m_lineNumber == 1 && line.starts_with(kByteOrderMark)) {
            line.erase(0, kByteOrderMark.size());
        }
        const CScriptCommand command = ParseScriptCommand(line);
        switch (command.kind) {
            case CScriptCommandKind::Skip:
                continue;
            case CScriptCommandKind::Malformed:
                m_events.Error(m_lineNumber, command.reason);
                m_malformed = true;
                return false;
            case CScriptCommandKind::Pick:
                Pick(dialog, command.arguments[0], command.arguments[1]);
                return !m_malformed;
            case CScriptCommandKind::Click:
                Click(dialog, command.arguments[0]);
                return !m_malformed;
            case CScriptCommandKind::Answer:
                m_answers.push_back(command.arguments[0] == "Yes" ? IDYES : IDNO);
                return true;
            case CScriptCommandKind::Show:
                Show(dialog);
                return true;
            case CScriptCommandKind::PaceOff:
                m_pace.SetPacing(false);
                return true;
        }
    }
    if (m_script.Failed()) {
        // The script could not be read to its end (a folder, a failing disk): the run did not
        // do what its script says.
        Fail();
    }
    return false;
}

void CScriptHost::Pick(const framework::WindowState& dialog, const std::string& control,
                       const std::string& entry) {
    std::string reason;
    const CControlNames::CNamedControl* named = m_names.FindComboBox(control, reason);
    const framework::WindowState* combo = NamedWindow(dialog, named, reason);
    if (combo == nullptr) {
        return;
    }
    if (!combo->AcceptsInput()) {
        Refuse(JoinText(Describe(*named, "combo box"), " is disabled"));
        return;
    }
    for (std::size_t index = 0; index < combo->entries.size(); ++index) {
        if (combo->entries[index].text == entry) {
            if (framework::UserPick(*combo, static_cast<int>(index)) == 0) {
                Refuse(JoinText(Describe(*named, "combo box"), " takes no input now"));
            }
            return;
        }
    }
    Refuse(JoinText(Describe(*named, "combo box"), " has no entry ", Quoted(entry)));
}

void CScriptHost::Click(const framework::WindowState& dialog, const std::string& control) {
    std::string reason;
    const CControlNames::CNamedControl* named = m_names.FindPushButton(control, reason);
    const framework::WindowState* button = NamedWindow(dialog, named, reason);
    if (button == nullptr) {
        return;
    }
    // Hidden buttons take the click as a message sent to them; a disabled one takes nothing.
    if (!button->enabled) {
        Refuse(JoinText(Describe(*named, "button"), " is disabled"));
        return;
    }
    if (framework::UserClick(*button) == 0) {
        Refuse(JoinText(Describe(*named, "button"), " takes no input now"));
    }
}

const framework::WindowState* CScriptHost::NamedWindow(const framework::WindowState& dialog,
                                                       const CControlNames::CNamedControl* named,
                                                       const std::string& reason) {
    if (named == nullptr) {
        m_events.Error(m_lineNumber, reason);
        m_malformed = true;
        return nullptr;
    }
    const framework::WindowState* window = dialog.FindChild(named->id);
    if (window == nullptr) {
        Fail();
    }
    return window;
}

void CScriptHost::Show(const framework::WindowState& dialog) {
    for (const CControlNames::CNamedControl& named : m_names.ComboBoxes()) {
        const framework::WindowState* combo = dialog.FindChild(named.id);
        if (combo == nullptr) {
            Fail();
            return;
        }
        CEventWriter::CComboState state;
        state.id = named.id;
        state.label = named.label;
        state.enabled = combo->enabled;
        state.selection = combo->curSel;
        state.text = combo->text;
        for (const framework::ComboEntry& item : combo->entries) {
            state.entries.push_back(item.text);
        }
        m_events.Combo(state);
    }
}

void CScriptHost::Refuse(const std::string& reason) {
    ++m_refusedLines;
    m_events.Refused(m_lineNumber, reason);
}

void CScriptHost::CloseAsCancel(const framework::WindowState& dialog) {
    m_inputEnded = true;
    framework::UserEscape(dialog);
}

void CScriptHost::Fail() {
    m_failed = true;
    m_inputEnded = true;
}

int CScriptHost::MessageBox(const framework::WindowState* owner, const char* text,
                            const char* caption, UINT type) {
    (void)owner;
    const UINT buttons = type & MB_TYPEMASK;
    int answer = IDOK;
    if (buttons != MB_OK) {
        // A question takes the next queued answer; with none queued the user says no.
        int reply = IDNO;
        if (!m_answers.empty()) {
            reply = m_answers.front();
            m_answers.pop_front();
        }
        if (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) {
            answer = reply;
        } else {
            answer = reply == IDYES ? FirstButton(buttons) : framework::SafeAnswer(type);
        }
    }
    m_events.MessageBoxShown(caption != nullptr ? caption : "", text != nullptr ? text : "",
                             static_cast<unsigned>(type), AnswerName(answer));
    return answer;
}

void CScriptHost::DialogCreated(const framework::WindowState& dialog) {
    if (!IsSetupDialog(dialog)) {
        m_writes.ResetWrites();
    }
}

void CScriptHost::DialogEnded(const framework::WindowState& dialog, INT_PTR result) {
    if (IsSetupDialog(dialog)) {
        m_setupResult = result;
    }
}

void CScriptHost::DialogDestroyed(const framework::WindowState& dialog) {
    if (IsSetupDialog(dialog)) {
        // A write that closed the dialog (OK) is over now too.
        SignalAfterWrite();
        // A dialog that ends without EndDialog was ended by a quit: the program quit from its
        // initialisation.
        m_events.End(m_setupResult == IDOK ? "OK" : m_setupResult == -1 ? "quit" : "Cancel");
        m_ended = true;
        return;
    }
    const framework::WindowState* progress = dialog.FindChild(IDC_PROGRESS);
    if (progress != nullptr) {
        m_events.Progress(progress->rangeHigh, progress->pos, m_writes.Writes());
    }
}

void CScriptHost::FileWritten(const char* path, long size) {
    m_events.File(path, size);
}

int CScriptHost::WriteStarting(const char* backupPath) {
    if (backupPath[0] != '\0') {
        m_events.Backup(backupPath);
    }
    // Whoever reads the events must learn where the backup is before the card changes.
    if (!m_events.Good()) {
        return 0;
    }
    if (!m_writeSignals) {
        m_writeSignals.emplace();
    }
    return 1;
}
