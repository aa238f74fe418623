#include <gtest/gtest.h>

#include "pages/SettingsFile.h"
#include "tests/pages/PagesTestSupport.h"

namespace mxc9 {
namespace {

using testing::CrLfLines;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::vector<std::string> ExamplePageLines(const std::string& name) {
    std::vector<std::string> lines = {"NAME=" + name, "VER=1",     "N.BRAKE=0", "BRK.FQ=31",
                                      "CUT.VT=2",     "RESPONS=0", "CUR.LIM=12"};
    for (int k = 0; k < 32; ++k) lines.push_back("FREQ" + std::to_string(k) + "=35");
    return lines;
}

TEST(SettingsFileWriter, DefaultPageWithTwoCommentLinesGivesTheDocumentedFile) {
    TempFolder folder;
    const std::string path = folder.file("one.mxd");
    TMXC9Data page = DefaultPage();
    page.comment = "abc\r\ndef";
    {
        IniFile file(path, IniFile::Start::Empty);
        WritePageCount(file, 1);
        WritePageRecord(file, "DATA0", "DATA1", page);
    }
    std::vector<std::string> lines = {"[MXC-9]", "DATA=1", "[DATA0]"};
    for (const auto& line : ExamplePageLines("DATA1")) lines.push_back(line);
    lines.insert(lines.end(), {"Comment0=2", "Comment1=abc", "Comment2=def"});
    ASSERT_EQ(lines.size(), 45u);
    EXPECT_EQ(ReadBytes(path), CrLfLines(lines));
}

TEST(SettingsFileWriter, CommentIsSplitAtEveryKindOfLineBreak) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"abc", {"abc"}},
        {"abc\r\n", {"abc"}},
        {"a\r\n\r\nc", {"a", "", "c"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\r", {"a", ""}},
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
    };
    for (const auto& [comment, lines] : cases)
        EXPECT_EQ(SplitCommentLines(comment), lines) << comment;

    IniFile file = IniFile::fromBytes("");
    WritePageRecord(file, "DATA0", "p", DefaultPage());
    EXPECT_FALSE(file.hasKey("DATA0", "Comment0")) << "an empty comment writes no count";
}

// Writes the page to a real file, reads it back from disk.
TMXC9Data RoundTrip(const TMXC9Data& page, const std::string& name, std::string* nameRead) {
    TempFolder folder;
    const std::string path = folder.file("trip.mxd");
    {
        IniFile file(path, IniFile::Start::Empty);
        WritePageCount(file, 1);
        WritePageRecord(file, PageSectionName(0), name, page);
        file.updateFile();
    }
    IniFile file(path);
    if (nameRead) *nameRead = ReadPageName(file, 0);
    return ReadPageRecord(file, PageSectionName(0));
}

TEST(SettingsFileReader, EveryFieldSurvivesAWriteAndARead) {
    struct Case {
        std::string name;
        TMXC9Data page;
        std::string nameRead;  // the profile functions trim blanks around a value
        std::string commentRead;
    };
    std::vector<Case> cases;
    cases.push_back({"DATA1", DefaultPage(), "DATA1", ""});
    TMXC9Data extremes;
    extremes.nBrake = INT32_MIN;
    extremes.brkFq = -1;
    extremes.cutVt = INT32_MAX;
    extremes.respons = 9;
    extremes.curLim = -1;
    for (int k = 0; k < 32; ++k) extremes.freq[static_cast<size_t>(k)] = k * 2 - 1;
    extremes.comment = "first\r\n\r\nthird after an empty line\r\n";
    cases.push_back({"表示ソフト ①～", extremes, "表示ソフト ①～", extremes.comment});
    // Longer than the 2048-byte buffer through which the Windows program read them.
    TMXC9Data longLines = DefaultPage();
    longLines.comment = std::string(5000, 'x') + "\r\n" + std::string(3000, 'y') + "表\r\n";
    cases.push_back({std::string(3000, 'n'), longLines, std::string(3000, 'n'), longLines.comment});
    TMXC9Data blanks = DefaultPage();
    blanks.comment = "  inner  blanks stay  ";
    cases.push_back({"  spaced name ", blanks, "spaced name", "inner  blanks stay\r\n"});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.nameRead.substr(0, 20));
        std::string nameRead;
        TMXC9Data read = RoundTrip(c.page, c.name, &nameRead);
        EXPECT_EQ(nameRead, c.nameRead);
        TMXC9Data expected = c.page;
        expected.comment = c.commentRead;
        EXPECT_EQ(read, expected);
    }
}

TEST(SettingsFileReader, CommentReadsBackLineByLineWithBreaks) {
    const std::pair<const char*, const char*> cases[] = {
        {"abc", "abc\r\n"},
        {"abc\r\n", "abc\r\n"},
        {"", ""},
        {"a\r\n\r\nc", "a\r\n\r\nc\r\n"},
    };
    for (const auto& [written, read] : cases) {
        TMXC9Data page = DefaultPage();
        page.comment = written;
        EXPECT_EQ(RoundTrip(page, "p", nullptr).comment, read) << written;
    }
}

struct MigrationCase {
    const char* what;
    const char* versionLine;  // "" for none
    const char* cutVtLine;
    int32_t expected;
};

const MigrationCase kMigrationCases[] = {
    {"no version key", "", "CUT.VT=1", 2},
    {"version 0", "VER=0", "CUT.VT=1", 2},
    {"version not a number", "VER=abc", "CUT.VT=1", 2},
    {"version 1", "VER=1", "CUT.VT=1", 1},
    {"a later version", "VER=7", "CUT.VT=1", 1},
    {"negative version", "VER=-1", "CUT.VT=3", 3},
    {"old file with the highest index", "", "CUT.VT=4", 5},
    {"old file without a cut-off key", "", "", 3},
    {"old file with no selection", "", "CUT.VT=-1", 0},
};

TEST(SettingsFileReader, PagesWithoutAVersionGetTheirCutOffIndexRaised) {
    for (const MigrationCase& c : kMigrationCases) {
        SCOPED_TRACE(c.what);
        IniFile file = IniFile::fromBytes(CrLfLines({"[DATA0]", c.versionLine, c.cutVtLine}));
        EXPECT_EQ(ReadPageRecord(file, "DATA0").cutVt, c.expected);
    }
}

TEST(SettingsFileReader, FileWrittenByTheWindowsProfileFunctionsReadsAlike) {
    // Letter case, blanks, quotes and LF-only lines as other writers leave them; names
    // and comments in CP932 with second bytes equal to the backslash code.
    const std::string bytes = testing::kWindowsWrittenFile;
    IniFile file = IniFile::fromBytes(bytes);
    EXPECT_EQ(ReadPageCount(file), 2);
    EXPECT_EQ(ReadPageName(file, 0), "\x95\x5C\x83\x5C") << "表ソ as the file's bytes";
    EXPECT_EQ(ReadPageName(file, 1), "second");
    TMXC9Data page = ReadPageRecord(file, "DATA0");
    EXPECT_EQ(page.nBrake, 31);
    EXPECT_EQ(page.brkFq, 12);
    EXPECT_EQ(page.cutVt, 4);
    EXPECT_EQ(page.respons, 9);
    EXPECT_EQ(page.curLim, Defaults::kCurLim) << "12abc is no number";
    EXPECT_EQ(page.freq[0], 0);
    EXPECT_EQ(page.freq[1], Defaults::kFreq);
    EXPECT_EQ(page.freq[31], 63);
    EXPECT_EQ(page.comment, "\x93\xFA\x96\x7B\x8C\xEA\\\r\n\r\nlast\r\n")
        << "a missing line reads empty";

    TMXC9Data missing = ReadPageRecord(file, "DATA7");
    TMXC9Data expected = DefaultPage();
    expected.cutVt = 3;  // no version: migrated
    EXPECT_EQ(missing, expected);
}

TEST(SettingsFileReader, CommentCountsOutsideTheLinesPresent) {
    const std::pair<const char*, const char*> cases[] = {
        {"Comment0=3\r\nComment1=x", "x\r\n\r\n\r\n"},
        {"Comment0=0\r\nComment1=x", ""},
        {"Comment0=-1\r\nComment1=x", ""},
        {"Comment0=abc\r\nComment1=x", ""},
        {"Comment0=1\r\nComment1=x\r\nComment2=y", "x\r\n"},
    };
    for (const auto& [lines, comment] : cases) {
        IniFile file = IniFile::fromBytes(std::string("[DATA0]\r\n") + lines + "\r\n");
        EXPECT_EQ(ReadPageRecord(file, "DATA0").comment, comment) << lines;
    }
}

TEST(SettingsFileReader, CountsAreTakenAsStatedUpToTheirLimits) {
    // Sections and lines that a count claims but the file lacks read as empty ones; only
    // a count above the limit is cut.
    struct Case {
        const char* file;
        int pages;
        int commentLines;  // of DATA0, each ending in CR LF
    };
    const Case cases[] = {
        {"[MXC-9]\r\nDATA=3\r\n[DATA0]\r\n", 3, 0},
        {"[MXC-9]\r\nDATA=5\r\n", 5, 0},
        {"[MXC-9]\r\nDATA=1000\r\n", 1000, 0},
        {"[MXC-9]\r\nDATA=1001\r\n", kMaxPagesPerFile, 0},
        {"[MXC-9]\r\nDATA=2147483647\r\n", kMaxPagesPerFile, 0},
        {"[MXC-9]\r\nDATA=-4\r\n", -4, 0},
        {"[MXC-9]\r\nDATA=0x10\r\n", 16, 0},
        {"DATA=3\r\n", 0, 0},
        {"[DATA0]\r\nComment0=100\r\nComment1=x\r\n", 0, 100},
        {"[DATA0]\r\nComment0=1000\r\n", 0, 1000},
        {"[DATA0]\r\nComment0=2147483647\r\nComment5=five\r\n", 0, kMaxCommentLines},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        IniFile file = IniFile::fromBytes(c.file);
        EXPECT_EQ(ReadPageCount(file), c.pages);
        const std::string comment = ReadPageRecord(file, "DATA0").comment;
        EXPECT_EQ(static_cast<int>(SplitCommentLines(comment).size()), c.commentLines);
    }
    EXPECT_EQ(ReadPageRecord(IniFile::fromBytes(cases[10].file), "DATA0").comment.substr(0, 14),
              "\r\n\r\n\r\n\r\nfive\r\n");
}

TEST(SettingsFileReader, BadFilesLoadWithDefaults) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 151 + 7) % 256);
    struct Case {
        const char* what;
        std::string bytes;
        int count;
    };
    const Case cases[] = {
        {"empty", "", 0},
        {"binary", binary, 0},
        {"cut off in a header", "[MXC-9]\r\nDATA=1\r\n[DAT", 1},
        {"header without its bracket", "[MXC-9\r\nDATA=1\r\n", 0},
        {"UTF-16 with its mark", std::string("\xFF\xFE[\0M\0", 6), 0},
        {"only line breaks", std::string(10000, '\n'), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        IniFile file = IniFile::fromBytes(c.bytes);
        EXPECT_EQ(ReadPageCount(file), c.count);
        TMXC9Data expected = DefaultPage();
        expected.cutVt = 3;  // a missing section has no version
        EXPECT_EQ(ReadPageRecord(file, "DATA0"), expected);
    }
}

TEST(SettingsFileReader, TenMegabyteLineIsReadWhole) {
    TempFolder folder;
    const std::string path = folder.file("huge.mxd");
    const std::string huge(10 * 1024 * 1024, 'z');
    WriteBytes(path, "[MXC-9]\r\nDATA=1\r\n[DATA0]\r\nNAME=" + huge + "\r\nFREQ3=7\r\n");
    IniFile file(path);
    EXPECT_EQ(ReadPageName(file, 0), huge);
    EXPECT_EQ(ReadPageRecord(file, "DATA0").freq[3], 7);
}

TEST(SettingsFileReader, ReadPageAppendsTheTabAndFillsTheRecord) {
    testing::WindowState window;
    IniFile file =
        IniFile::fromBytes("[DATA3]\r\nVER=1\r\nFREQ0=9\r\nComment0=1\r\nComment1=c\r\n");
    window.store.GrowPages(window.tabs.count(), 1);
    ReadPage(file, 3, 1, "given name", window.tabs, window.store);
    EXPECT_EQ(window.tabs.captions(), (std::vector<std::string>{"DATA1", "given name"}));
    EXPECT_EQ(window.store.record(1).freq[0], 9);
    EXPECT_EQ(window.store.record(1).comment, "c\r\n");
    EXPECT_EQ(window.store.record(0), DefaultPage()) << "the other record was touched";
}

}  // namespace
}  // namespace mxc9
