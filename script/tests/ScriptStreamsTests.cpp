// The runner's script lines and event text, through C streams and in memory: both must cut the
// same lines out of the same bytes, and a stream that fails must be seen to fail.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "script/EventWriter.h"
#include "script/LineSource.h"
#include "script/TextSink.h"

namespace {

using namespace std::string_literals;

std::vector<std::string> AllLines(CLineSource& source) {
    std::vector<std::string> lines;
    for (std::string line; source.ReadLine(line);) {
        lines.push_back(line);
    }
    return lines;
}

// A temporary file holding bytes, positioned at its start; removed when closed.
std::FILE* FileHolding(const std::string& bytes) {
    std::FILE* file = std::tmpfile();
    if (file != nullptr) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::rewind(file);
    }
    return file;
}

struct CLinesCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

const CLinesCase kLineCases[] = {
    {"Nothing", "", {}},
    {"OneLineWithItsLineFeed", "show\n", {"show"}},
    {"LastLineWithoutLineFeed", "pace off\nshow", {"pace off", "show"}},
    {"EmptyLinesAreLines", "\n\nshow\n", {"", "", "show"}},
    {"CarriageReturnStaysForTheParser", "show\r\nclick OK\r\n", {"show\r", "click OK\r"}},
    {"NulBytesAreKept", "pick 1003 5\0x\n"s, {"pick 1003 5\0x"s}},
    {"ByteOrderMarkIsLeftToTheRunner", "\xEF\xBB\xBFshow\n", {"\xEF\xBB\xBFshow"}},
};

class LineSourceTest : public ::testing::TestWithParam<CLinesCase> {};

TEST_P(LineSourceTest, FileAndMemoryCutTheSameLines) {
    const CLinesCase& given = GetParam();

    CTextLineSource text(given.bytes);
    EXPECT_EQ(AllLines(text), given.lines);
    EXPECT_FALSE(text.Failed());

    std::FILE* file = FileHolding(given.bytes);
    ASSERT_NE(file, nullptr);
    CFileLineSource stream(file);
    EXPECT_EQ(AllLines(stream), given.lines);
    EXPECT_FALSE(stream.Failed());
    std::string after = "untouched";
    EXPECT_FALSE(stream.ReadLine(after)) << "a source that ended stays ended";
    EXPECT_EQ(after, "");
    std::fclose(file);
}

INSTANTIATE_TEST_SUITE_P(Lines, LineSourceTest, ::testing::ValuesIn(kLineCases),
                         [](const ::testing::TestParamInfo<CLinesCase>& info) {
                             return std::string(info.param.name);
                         });

// A file in the current folder for the life of the object.
class CScratchFile {
public:
    explicit CScratchFile(const char* name) : m_name(name) {
        std::FILE* file = std::fopen(m_name, "wb");
        if (file != nullptr) {
            std::fputs("show\n", file);
            std::fclose(file);
        }
    }
    ~CScratchFile() { std::remove(m_name); }
    std::FILE* Open(const char* mode) const { return std::fopen(m_name, mode); }

private:
    const char* m_name;
};

TEST(LineSourceFailure, StreamThatCannotBeReadIsAFailureNotAnEnd) {
#ifdef _WIN32
    GTEST_SKIP() << "the C runtime under Wine reports a write-only stream's read as its end";
#endif
    const CScratchFile scratch("vym-source-write-only.tmp");
    std::FILE* writeOnly = scratch.Open("ab");
    ASSERT_NE(writeOnly, nullptr);
    CFileLineSource source(writeOnly);
    std::string line;
    EXPECT_FALSE(source.ReadLine(line));
    EXPECT_TRUE(source.Failed());
    std::fclose(writeOnly);
}

// A sink that takes a given number of writes, then fails every one.
class CFailingSink final : public CTextSink {
public:
    explicit CFailingSink(int goodWrites) : m_goodWrites(goodWrites) {}
    bool Write(std::string_view text) override {
        ++calls;
        if (m_goodWrites == 0) {
            return false;
        }
        --m_goodWrites;
        written.append(text);
        return true;
    }
    int calls = 0;
    std::string written;

private:
    int m_goodWrites;
};

TEST(TextSink, FileSinkHandsEveryEventOnAtOnce) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    CFileTextSink sink(file);
    CEventWriter events(sink);
    events.End("OK");
    EXPECT_TRUE(events.Good());
    // Read back through the same stream: what was written is in the file already.
    std::rewind(file);
    char buffer[64] = {};
    const std::size_t count = std::fread(buffer, 1, sizeof buffer - 1, file);
    EXPECT_EQ(std::string(buffer, count), "{\"event\":\"end\",\"result\":\"OK\"}\n");
    std::fclose(file);
}

TEST(TextSink, FileSinkOnAStreamOpenForReadingOnlyFails) {
    const CScratchFile scratch("vym-sink-read-only.tmp");
    std::FILE* readOnly = scratch.Open("rb");
    ASSERT_NE(readOnly, nullptr);
    CFileTextSink sink(readOnly);
    EXPECT_FALSE(sink.Write("{}\n"));
    std::fclose(readOnly);
}

TEST(TextSink, AfterAFailedWriteTheWriterIsNotGoodAndWritesNothingMore) {
    CFailingSink sink(1);
    CEventWriter events(sink);
    events.Refused(1, "first");
    EXPECT_TRUE(events.Good());
    events.Refused(2, "second");
    EXPECT_FALSE(events.Good());
    events.End("OK");
    EXPECT_FALSE(events.Good());
    EXPECT_EQ(sink.calls, 2) << "nothing is tried after the first failure";
    EXPECT_EQ(sink.written, "{\"event\":\"refused\",\"line\":1,\"reason\":\"first\"}\n");
}

}  // namespace
