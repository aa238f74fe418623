// The page commands that open, import and save settings files.
#include "tests/pages/PageCommandsFixture.h"

namespace mxc9 {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::vector<std::string> Cp932TextPieces() {
    std::vector<std::string> pieces;
    std::string piece;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead == 0xA0) lead = 0xE0;
        for (int second = 0x40; second <= 0xFC; ++second) {
            if (second == 0x7F) continue;
            piece += static_cast<char>(lead);
            piece += static_cast<char>(second);
            if (piece.size() >= 400) pieces.push_back(std::exchange(piece, std::string()));
        }
    }
    pieces.push_back(piece);
    // Stray bytes: the unused single bytes, and a lead byte with no second byte at the end.
    pieces.push_back(
        "a\x80"
        "b\xA0"
        "c\xFD\xFE\xFF"
        "d\x81");
    pieces.push_back("\xFA\x4A\xED\x40\x87\x54\xFA\x5C\xA5x\x81");
    return pieces;
}

TEST_F(PageCommandsTest, OpenThenSaveAllKeepsEveryByteOfNamesAndComments) {
    const std::vector<std::string> pieces = Cp932TextPieces();
    // The file as "Save All" writes it, so that an unchanged round trip is byte for byte.
    std::string file = "[MXC-9]\r\nDATA=" + std::to_string(pieces.size()) + "\r\n";
    for (size_t k = 0; k < pieces.size(); ++k) {
        std::vector<std::string> lines = {"[DATA" + std::to_string(k) + "]",
                                          "NAME=" + pieces[k],
                                          "VER=1",
                                          "N.BRAKE=0",
                                          "BRK.FQ=31",
                                          "CUT.VT=2",
                                          "RESPONS=0",
                                          "CUR.LIM=12"};
        for (int j = 0; j < 32; ++j) lines.push_back("FREQ" + std::to_string(j) + "=35");
        lines.push_back("Comment0=3");
        lines.push_back("Comment1=" + pieces[k]);
        lines.push_back("Comment2=" + pieces[(k + 1) % pieces.size()]);
        lines.push_back("Comment3=plain");
        file += testing::CrLfLines(lines);
    }
    WriteBytes(folder.file("bytes.mxd"), file);
    window.files.openAnswers = {folder.file("bytes.mxd")};
    window.messages.answers = {kIdYes};
    commands.PAGE_OPENClick();
    ASSERT_EQ(window.tabs.count(), static_cast<int>(pieces.size()));
    window.tabs.select(3);  // Save All stores the page on screen first
    window.store.LoadPageToScreen(3);

    window.files.saveAnswers = {folder.file("again.mxd")};
    commands.PAGE_ALLSAVEClick();
    EXPECT_EQ(ReadBytes(folder.file("again.mxd")), file);
    EXPECT_EQ(window.messages.shown.size(), 1u) << "only the open question";
}

TEST_F(PageCommandsTest, FileNamedAtStartOpensWithoutDialogOrQuestion) {
    struct Case {
        std::string path;
        std::vector<std::string> tabs;  // afterwards
    };
    WriteBytes(folder.file("zero.mxd"), "[MXC-9]\r\nDATA=0\r\n");
    const Case cases[] = {
        {writeFile("two.mxd", {"A", "B"}), {"A", "B"}},
        {folder.file("zero.mxd"), {"mine"}},
        {folder.file("does-not-exist.mxd"), {"mine"}},
    };
    for (const Case& c : cases) {
        makePages({"mine"});
        commands.OpenFileAtStart(c.path);
        EXPECT_TRUE(window.messages.shown.empty()) << c.path;
        EXPECT_TRUE(window.files.openProposed.empty()) << c.path;
        EXPECT_EQ(window.tabs.captions(), c.tabs) << c.path;
        EXPECT_EQ(window.screen.bar(0), c.tabs.size() == 2 ? 40 : 10) << c.path;
        EXPECT_EQ(commands.lastFileName(), c.path);  // as "Open" leaves it
    }
}

TEST_F(PageCommandsTest, OpenAnsweredNoChangesOnlyTheLastFileName) {
    makePages({"mine"});
    const std::string path = writeFile("two.mxd", {"A", "B"});
    commands.PAGE_OPENClick();  // Cancel
    EXPECT_EQ(window.files.openProposed.back(), folder.folder() + "2004_3_7_MXC9.mxd");
    window.files.openAnswers = {path};
    window.messages.answers = {kIdNo};
    commands.PAGE_OPENClick();
    EXPECT_EQ(questions(), std::vector<std::string>{Message(15)});
    EXPECT_EQ(window.tabs.captions(), std::vector<std::string>{"mine"});
    EXPECT_EQ(commands.lastFileName(), path);
}

TEST_F(PageCommandsTest, OpenReplacesEveryPageAndTakesNamesAsTheyAre) {
    makePages({"mine", "other"});
    window.tabs.select(1);
    window.selection = {2, 4, 3};
    const std::string path = writeFile("names.mxd", {"", "a?b", "a?b"});
    window.files.openAnswers = {path};
    commands.PAGE_OPENClick();
    EXPECT_EQ(window.tabs.captions(), (std::vector<std::string>{"", "a?b", "a?b"}));
    EXPECT_EQ(window.tabs.selected(), 0);
    EXPECT_EQ(window.store.size(), 3);
    EXPECT_EQ(window.store.record(2).freq[0], 42);
    EXPECT_EQ(window.screen.bar(0), 40);
    EXPECT_EQ(window.display.readouts, std::vector<int>{-1});
    EXPECT_EQ(window.selection.anchor, 2);
}

TEST_F(PageCommandsTest, InsertMakesClashingNamesUniqueAndReloadsPageZero) {
    makePages({"DATA1"});
    window.screen.setBar(0, 63);  // an edit not stored: the reload drops it
    const std::string path = writeFile("dup.mxd", {"DATA1", "DATA1", "DATA1_1"});
    window.files.openAnswers = {path};
    commands.PAGE_INTClick();
    EXPECT_EQ(window.tabs.captions(),
              (std::vector<std::string>{"DATA1", "DATA1_1", "DATA1_2", "DATA1_1_1"}));
    EXPECT_TRUE(window.messages.shown.empty());
    EXPECT_EQ(window.store.size(), 4);
    EXPECT_EQ(window.store.record(2).freq[0], 41);
    EXPECT_EQ(window.screen.bar(0), 10) << "page 0 reloaded from its record";
    EXPECT_EQ(window.tabs.selected(), 0);
    EXPECT_EQ(commands.lastFileName(), path);
}

TEST_F(PageCommandsTest, InsertWithANegativeCountStillReloadsPageZero) {
    makePages({"DATA1"});
    window.screen.setBar(0, 63);
    WriteBytes(folder.file("neg.mxd"), "[MXC-9]\r\nDATA=-1\r\n");
    window.files.openAnswers = {folder.file("neg.mxd")};
    commands.PAGE_INTClick();
    EXPECT_EQ(window.tabs.count(), 1);
    EXPECT_EQ(window.screen.bar(0), 10);
    EXPECT_EQ(window.display.readouts, std::vector<int>{-1});
}

TEST_F(PageCommandsTest, SaveProposesTheDatedPageNameAndWritesOnePage) {
    makePages({"DATA1", "DATA2"});
    window.tabs.select(1);
    window.store.LoadPageToScreen(1);
    window.screen.setComment("edited");
    // An earlier file of three pages at that name: none of its sections may survive.
    writeFile("2004_3_7_DATA2.mxd", {"x", "y", "z"});
    window.files.saveAnswers = {folder.file("2004_3_7_DATA2")};
    commands.PAGE_SAVEClick();
    EXPECT_EQ(window.files.saveProposed, std::vector<std::string>{folder.file("2004_3_7_DATA2")});
    EXPECT_EQ(window.store.record(1).comment, "edited");
    IniFile file(folder.file("2004_3_7_DATA2.mxd"));
    EXPECT_EQ(file.sectionNames(), (std::vector<std::string>{"MXC-9", "DATA0"}));
    EXPECT_EQ(ReadPageCount(file), 1);
    EXPECT_EQ(ReadPageName(file, 0), "DATA2");
    EXPECT_EQ(ReadPageRecord(file, "DATA0"), testing::AsReadBack(window.store.record(1)));
    EXPECT_EQ(commands.lastFileName(), folder.file("2004_3_7_MXC9.mxd")) << "Save keeps it";
}

TEST_F(PageCommandsTest, SaveAddsTheExtensionOnlyWhenTheNameHasNone) {
    const std::pair<std::string, std::string> cases[] = {
        {"2004_3_7_run1.5", "2004_3_7_run1.5"}, {"plain", "plain.mxd"}, {"name.txt", "name.txt"},
        {"dir.d/plain", "dir.d/plain.mxd"},
#ifdef _WIN32
        {"dir.d\\plain", "dir.d\\plain.mxd"},
#endif
    };
    std::filesystem::create_directory(folder.file("dir.d"));
    for (const auto& [chosen, written] : cases) {
        window.files.saveAnswers = {folder.file(chosen)};
        commands.PAGE_SAVEClick();
        EXPECT_TRUE(std::filesystem::exists(folder.file(written))) << written;
    }
    makePages({"run1.5"});
    commands.PAGE_SAVEClick();
    EXPECT_EQ(window.files.saveProposed.back(), folder.file("2004_3_7_run1.5"));
}

TEST_F(PageCommandsTest, FailedSaveShowsTheErrorAndKeepsTheOldFile) {
    // Start-up has captioned the application with the main window's title.
    struct TitleKept {
        std::string title = ApplicationTitle();
        ~TitleKept() { SetApplicationTitle(title); }
    } kept;
    const std::string windowTitle = std::string(kTitlePrefix) + LanguageCode();
    SetApplicationTitle(windowTitle);
    // The target is a folder.
    std::filesystem::create_directory(folder.file("taken.mxd"));
    window.files.saveAnswers = {folder.file("taken")};
    commands.PAGE_SAVEClick();
    ASSERT_EQ(window.messages.shown.size(), 1u);
    EXPECT_EQ(window.messages.shown[0].text,
              MessageWith(kMessageCannotWrite, {folder.file("taken.mxd")}) + ".");
    EXPECT_EQ(window.messages.shown[0].caption, windowTitle);
    EXPECT_EQ(window.messages.shown[0].icon, MbIcon::Error);
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("taken.mxd")));

    const std::string old = writeFile("old.mxd", {"kept"});
    const std::string before = ReadBytes(old);
    makePages({std::string(8000, 'n')});
    window.files.saveAnswers = {old};
#ifdef _WIN32
    // Another program holds the old file open.
    testing::WithFileHeldOpen(old, [&] { commands.PAGE_ALLSAVEClick(); });
#elif defined(__EMSCRIPTEN__)
    // In the browser the files are in the page's memory, which grows: only a folder in
    // the way makes a save fail.
    return;
#else
    // The disk fills up while the new file is written.
    testing::WithFileSizeLimit(4096, [&] { commands.PAGE_ALLSAVEClick(); });
#endif
    EXPECT_EQ(window.messages.shown.size(), 2u);
    EXPECT_EQ(window.messages.shown.back().caption, windowTitle);
    EXPECT_EQ(ReadBytes(old), before);
}

// The Linux and the Windows build write a settings file byte for byte alike: both compare
// with the same committed file.
TEST_F(PageCommandsTest, SaveAllWritesTheSameBytesInEveryBuild) {
    makePages({"DATA1", "\x95\x5C\x83\x5C", "last page"});
    window.store.record(0) = DefaultPage();
    window.store.record(0).comment = "abc\r\ndef";
    TMXC9Data& second = window.store.record(1);
    second.nBrake = 9;
    second.brkFq = -1;
    second.cutVt = 0;
    second.respons = 2147483647;
    second.curLim = -2147483647 - 1;
    for (int k = 0; k < 32; ++k) second.freq[k] = 2 * k - 1;
    second.comment = "\x93\xFA\x96\x7B\x8C\xEA\r\n\r\n\x87\x40 ~\\ \"q\" [x]=y\r\n";
    window.store.record(2).comment.clear();
    window.tabs.select(0);
    window.store.LoadPageToScreen(0);
    window.files.saveAnswers = {folder.file("fixed")};
    commands.PAGE_ALLSAVEClick();
    EXPECT_TRUE(window.messages.shown.empty());
    const std::string expected = ReadBytes(MXC9_TEST_DATA "/fixed-pages.mxd");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadBytes(folder.file("fixed.mxd")), expected);
}

TEST_F(PageCommandsTest, SaveAllCloseOpenBringsEveryPageBack) {
    makePages({"first", "二番目", "third"});
    window.store.record(1).comment = "line one\r\n\r\n日本語 line\r\n";
    window.store.record(2).nBrake = 77;
    window.store.record(2).cutVt = 4;
    window.tabs.select(2);
    window.store.LoadPageToScreen(2);
    window.screen.setBar(5, 1);  // on screen only: Save All stores it first
    const std::vector<TMXC9Data> expectedRecords = [&] {
        std::vector<TMXC9Data> records;
        for (const TMXC9Data& page : window.store.records())
            records.push_back(testing::AsReadBack(page));
        records[2].freq[5] = 1;
        return records;
    }();

    window.files.saveAnswers = {folder.file("set")};
    commands.PAGE_ALLSAVEClick();
    EXPECT_TRUE(std::filesystem::exists(folder.file("set.mxd")));
    EXPECT_EQ(commands.lastFileName(), folder.file("set"));

    commands.PAGE_EXITClick();
    EXPECT_EQ(window.tabs.count(), 1);
    window.files.openAnswers = {folder.file("set.mxd")};
    commands.PAGE_OPENClick();  // proposes the name typed for Save All
    EXPECT_EQ(window.files.openProposed.back(), folder.file("set"));
    EXPECT_EQ(window.tabs.captions(), (std::vector<std::string>{"first", "二番目", "third"}));
    EXPECT_EQ(window.store.records(), expectedRecords);
    EXPECT_EQ(window.screen.comment(), "page 0\r\n");

    window.files.saveAnswers = {std::nullopt};
    commands.PAGE_ALLSAVEClick();
    EXPECT_EQ(window.files.saveProposed.back(), folder.file("set.mxd"));
}

}  // namespace
}  // namespace mxc9
