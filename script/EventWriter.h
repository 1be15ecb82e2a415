#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/TextSink.h"

// What the program shows, as JSON Lines: one object a line, written and flushed as it happens,
// so a reader of the stream sees the events in the order the program made them.
class CEventWriter {
public:
    explicit CEventWriter(CTextSink& out) : m_out(out) {}

    struct CComboState {
        int id = 0;
        std::string label;
        bool enabled = false;
        int selection = -1;
        std::string text;
        std::vector<std::string> entries;
    };

    // Not named MessageBox: on Windows that name is a macro.
    void MessageBoxShown(std::string_view caption, std::string_view text, unsigned type,
                         std::string_view answer);
    void Combo(const CComboState& combo);
    void Progress(int range, int position, long long written);
    void File(std::string_view path, long long size);
    // Where the card as it was is saved, before the first byte of a write.
    void Backup(std::string_view path);
    void Refused(int line, std::string_view reason);
    void Error(int line, std::string_view reason);
    void End(std::string_view result);

    // Every event written so far went out in full.
    bool Good() const { return m_good; }

private:
    template <typename Json>
    void Write(const Json& event);

    CTextSink& m_out;
    bool m_good = true;
};
