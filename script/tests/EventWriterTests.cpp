#include <gtest/gtest.h>

#include <algorithm>

#include "script/EventWriter.h"

namespace {

class EventWriterTest : public ::testing::Test {
protected:
    CStringTextSink sink;
    CEventWriter events{sink};
    std::string Text() const { return sink.Text(); }
};

TEST_F(EventWriterTest, MessageBoxKeepsLineEndsEscapedOnOneLine) {
    events.MessageBoxShown("VYM Card Setup", "The data is invalid.\r\n", 64, "OK");
    EXPECT_EQ(Text(),
              "{\"event\":\"messagebox\",\"caption\":\"VYM Card Setup\",\"text\":\"The data is "
              "invalid.\\r\\n\",\"type\":64,\"answer\":\"OK\"}\n");
}

TEST_F(EventWriterTest, QuotesAndBackslashesAreEscaped) {
    events.File("c:\\tt.bin", 500);
    events.Error(3, "text right after the closing quote of \"WSS\"");
    EXPECT_EQ(Text(),
              "{\"event\":\"file\",\"path\":\"c:\\\\tt.bin\",\"size\":500}\n"
              "{\"event\":\"error\",\"line\":3,\"reason\":\"text right after the closing quote "
              "of \\\"WSS\\\"\"}\n");
}

TEST_F(EventWriterTest, ComboFieldsInOrderWithEmptyTextAndEntries) {
    CEventWriter::CComboState combo;
    combo.id = 1004;
    combo.label = "WSS IRQ";
    combo.enabled = false;
    combo.selection = -1;
    events.Combo(combo);
    combo.entries = {"5", "PnP"};
    combo.selection = 1;
    combo.text = "PnP";
    combo.enabled = true;
    events.Combo(combo);
    EXPECT_EQ(Text(),
              "{\"event\":\"combo\",\"id\":1004,\"label\":\"WSS IRQ\",\"enabled\":false,"
              "\"selection\":-1,\"text\":\"\",\"entries\":[]}\n"
              "{\"event\":\"combo\",\"id\":1004,\"label\":\"WSS IRQ\",\"enabled\":true,"
              "\"selection\":1,\"text\":\"PnP\",\"entries\":[\"5\",\"PnP\"]}\n");
}

TEST_F(EventWriterTest, ProgressRefusedAndEnd) {
    events.Progress(248, 247, 248);
    events.Refused(7, "combo box 1004 (WSS IRQ) is disabled");
    events.End("quit");
    EXPECT_EQ(Text(),
              "{\"event\":\"progress\",\"range\":248,\"position\":247,\"written\":248}\n"
              "{\"event\":\"refused\",\"line\":7,\"reason\":\"combo box 1004 (WSS IRQ) is "
              "disabled\"}\n"
              "{\"event\":\"end\",\"result\":\"quit\"}\n");
}

TEST_F(EventWriterTest, TextThatIsNotUtf8IsReplacedNotFatal) {
    events.MessageBoxShown("Device 1", std::string("bad \xff byte"), 0, "OK");
    EXPECT_NE(Text().find("bad \xef\xbf\xbd byte"), std::string::npos) << Text();
    EXPECT_TRUE(events.Good());
}

TEST_F(EventWriterTest, ControlCharactersAreEscaped) {
    events.MessageBoxShown("c", std::string("a\tb\x01", 4), 0, "OK");
    const std::string text = Text();
    EXPECT_NE(text.find("a\\tb\\u0001"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
}

}  // namespace
