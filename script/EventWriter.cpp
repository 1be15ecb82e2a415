#include "script/EventWriter.h"

#include <nlohmann/json.hpp>

namespace {

using Event = nlohmann::ordered_json;

// Texts come from the card (identifiers) and the system (error texts); a byte that is not
// UTF-8 is shown as U+FFFD rather than ending the run.
constexpr auto kInvalidUtf8 = nlohmann::ordered_json::error_handler_t::replace;

Event Start(const char* name) {
    Event event;
    event["event"] = name;
    return event;
}

}  // namespace

template <typename Json>
void CEventWriter::Write(const Json& event) {
    if (!m_good) {
        return;
    }
    std::string line = event.dump(-1, ' ', false, kInvalidUtf8);
    line.push_back('\n');
    m_good = m_out.Write(line);
}

void CEventWriter::MessageBoxShown(std::string_view caption, std::string_view text, unsigned type,
                                   std::string_view answer) {
    Event event = Start("messagebox");
    event["caption"] = caption;
    event["text"] = text;
    event["type"] = type;
    event["answer"] = answer;
    Write(event);
}

void CEventWriter::Combo(const CComboState& combo) {
    Event event = Start("combo");
    event["id"] = combo.id;
    event["label"] = combo.label;
    event["enabled"] = combo.enabled;
    event["selection"] = combo.selection;
    event["text"] = combo.text;
    event["entries"] = combo.entries;
    Write(event);
}

void CEventWriter::Progress(int range, int position, long long written) {
    Event event = Start("progress");
    event["range"] = range;
    event["position"] = position;
    event["written"] = written;
    Write(event);
}

void CEventWriter::File(std::string_view path, long long size) {
    Event event = Start("file");
    event["path"] = path;
    event["size"] = size;
    Write(event);
}

void CEventWriter::Refused(int line, std::string_view reason) {
    Event event = Start("refused");
    event["line"] = line;
    event["reason"] = reason;
    Write(event);
}

void CEventWriter::Error(int line, std::string_view reason) {
    Event event = Start("error");
    event["line"] = line;
    event["reason"] = reason;
    Write(event);
}

void CEventWriter::Backup(std::string_view path) {
    Event event = Start("backup");
    event["path"] = path;
    Write(event);
}

void CEventWriter::End(std::string_view result) {
    Event event = Start("end");
    event["result"] = result;
    Write(event);
}
