#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>

#include "common/DefaultErrorBox.h"
#include "common/MessageTable.h"
#include "pages/PageCommands.h"
#include "pages/SettingsFile.h"
#include "platform/Cp932.h"
#include "tests/pages/PagesTestSupport.h"

namespace mxc9 {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

class PageCommandsTest : public ::testing::Test {
  protected:
    // Tabs with the given names; page k has every bar at 10 + k and comment "page k".
    void makePages(const std::vector<std::string>& names) {
        window.tabs.clear();
        window.store.resize(static_cast<int>(names.size()));
        for (size_t k = 0; k < names.size(); ++k) {
            window.tabs.append(names[k]);
            TMXC9Data page = DefaultPage();
            page.freq.fill(10 + static_cast<int>(k));
            page.comment = "page " + std::to_string(k);
            window.store.record(static_cast<int>(k)) = page;
        }
        window.tabs.select(0);
        window.store.LoadPageToScreen(0);
    }

    // Writes a settings file with pages of the given names (bars at 40 + k).
    std::string writeFile(const std::string& fileName, const std::vector<std::string>& names) {
        const std::string path = folder.file(fileName);
        IniFile file(path, IniFile::Start::Empty);
        WritePageCount(file, static_cast<int>(names.size()));
        for (size_t k = 0; k < names.size(); ++k) {
            TMXC9Data page = DefaultPage();
            page.freq.fill(40 + static_cast<int>(k));
            WritePageRecord(file, PageSectionName(static_cast<int>(k)), names[k], page);
        }
        file.updateFile();
        return path;
    }

    std::vector<std::string> questions() const {
        std::vector<std::string> texts;
        for (const auto& shown : window.messages.shown) texts.push_back(shown.text);
        return texts;
    }

    TempFolder folder;
    testing::WindowState window;
    // The program's folder is the temporary one before the commands read it.
    bool folderSet = (window.programFolder.path = folder.folder(), true);
    PageCommands commands{window.tabs,    window.store,     window.screen,
                          window.display, window.selection, window.seams};
};

TEST_F(PageCommandsTest, MenuEnablesDeleteWithTwoTabsAndTheLineWithARange) {
    struct Case {
        int tabs, anchor, end;
        bool remove, line;
    };
    const Case cases[] = {
        {1, -1, -1, false, false}, {2, -1, -1, true, false}, {3, 4, 4, true, false},
        {1, 2, 9, false, true},    {1, -1, 5, false, true},
    };
    for (const Case& c : cases) {
        makePages(std::vector<std::string>(static_cast<size_t>(c.tabs), "p"));
        window.selection.anchor = c.anchor;
        window.selection.end = c.end;
        PopupMenuState expected;
        expected.remove = c.remove;
        expected.linerAdj = c.line;
        EXPECT_EQ(commands.PopupMenu1Popup(), expected)
            << c.tabs << " " << c.anchor << " " << c.end;
    }
}

TEST_F(PageCommandsTest, NewPageTakesTheFirstFreeNumberFromTheTabCount) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"DATA1"}, "DATA2"},
        {{"DATA2"}, "DATA3"},  // DATA1 deleted earlier: the count, not a gap, starts
        {{"DATA1", "DATA3"}, "DATA4"},
        {{"DATA3", "DATA4", "x"}, "DATA5"},
    };
    for (const auto& [names, added] : cases) {
        makePages(names);
        commands.PAGE_ADDClick();
        EXPECT_EQ(window.tabs.captions().back(), added);
    }
}

TEST_F(PageCommandsTest, NewPageStoresTheScreenAndShowsDefaults) {
    makePages({"DATA1"});
    window.screen.setBar(0, 60);  // an edit not yet stored
    window.selection = {3, 7, 5};
    commands.PAGE_ADDClick();
    EXPECT_EQ(window.store.record(0).freq[0], 60);
    EXPECT_EQ(window.store.record(1), DefaultPage());
    EXPECT_EQ(window.tabs.selected(), 1);
    EXPECT_EQ(window.screen.bar(0), Defaults::kFreq);
    EXPECT_EQ(window.display.readouts, std::vector<int>{-1});
    EXPECT_EQ(window.selection.anchor, 3);
    EXPECT_EQ(window.selection.focused, 5);
}

TEST_F(PageCommandsTest, DeleteAsksFirstAndShowsTheNextPage) {
    makePages({"DATA1", "DATA2", "DATA3"});
    window.tabs.select(1);
    window.messages.answers = {kIdNo};
    commands.PAGE_DELETEClick();
    EXPECT_EQ(window.tabs.count(), 3);
    ASSERT_EQ(window.messages.shown.size(), 1u);
    EXPECT_EQ(window.messages.shown[0].text, "[ DATA2" + Message(9));
    EXPECT_EQ(window.messages.shown[0].caption, "Warning");
    EXPECT_EQ(window.messages.shown[0].buttons, MbButtons::YesNo);

    window.messages.answers = {kIdYes};
    commands.PAGE_DELETEClick();
    EXPECT_EQ(window.tabs.captions(), (std::vector<std::string>{"DATA1", "DATA3"}));
    EXPECT_EQ(window.tabs.selected(), 1);
    EXPECT_EQ(window.store.record(1).comment, "page 2") << "DATA3 kept its own record";
    EXPECT_EQ(window.screen.bar(31), 12);
    EXPECT_EQ(window.screen.comment(), "page 2");

    commands.PAGE_DELETEClick();  // the last tab: the new last one is shown
    EXPECT_EQ(window.tabs.captions(), std::vector<std::string>{"DATA1"});
    EXPECT_EQ(window.tabs.selected(), 0);
    EXPECT_EQ(window.screen.comment(), "page 0");
    EXPECT_EQ(window.store.size(), 1);

    commands.PAGE_ADDClick();
    EXPECT_EQ(window.tabs.captions().back(), "DATA2");
}

struct RenameCase {
    const char* what;
    std::vector<std::optional<std::string>> answers;  // nullopt: Cancel
    std::string finalName;
    std::vector<int> noticeRows;
    size_t dialogs;
};

TEST_F(PageCommandsTest, RenameChecksTheNameUntilItPassesOrIsCancelled) {
    const RenameCase cases[] = {
        {"accepted", {"new name"}, "new name", {}, 1},
        {"own name", {"DATA1"}, "DATA1", {}, 1},
        {"Japanese", {Utf8ToCp932("日本語")}, Utf8ToCp932("日本語"), {}, 1},
        {"question mark, then good", {"a?b", "ok"}, "ok", {23}, 2},
        {"empty, then good", {"", "ok"}, "ok", {8}, 2},
        {"other tab's name, then good", {"DATA2", "ok"}, "ok", {}, 2},
        // Characters are checked, not bytes: a second byte with the code of a refused
        // character is part of a Japanese character.
        {"second byte is the backslash code", {Utf8ToCp932("表A")}, Utf8ToCp932("表A"), {}, 1},
        {"second byte is the backslash code",
         {Utf8ToCp932("ソフト")},
         Utf8ToCp932("ソフト"),
         {},
         1},
        {"second byte is the bar code", {Utf8ToCp932("怖いポ")}, Utf8ToCp932("怖いポ"), {}, 1},
        {"lead byte alone before a slash", {"\x95/", "ok"}, "ok", {23}, 2},
        {"Japanese with a question mark", {Utf8ToCp932("表?"), "ok"}, "ok", {23}, 2},
        {"every refused character",
         {"\\", "/", ":", "*", "\"", "<", ">", "|", "ok"},
         "ok",
         {23, 23, 23, 23, 23, 23, 23, 23},
         9},
        // The dialog keeps what is typed to 255 bytes; a longer name read from a file
        // and kept by OK passes.
        {"over 255 bytes", {std::string(300, 'a')}, std::string(300, 'a'), {}, 1},
        {"cancel", {std::nullopt}, "DATA1", {}, 1},
        {"cancel after a refusal", {"a|b", std::nullopt}, "DATA1", {23}, 2},
    };
    for (const RenameCase& c : cases) {
        SCOPED_TRACE(c.what);
        makePages({"DATA1", "DATA2"});
        window.messages.shown.clear();
        window.pageName.shownNames.clear();
        window.pageName.answers.assign(c.answers.begin(), c.answers.end());
        commands.PAGE_RENAMEClick();
        EXPECT_EQ(window.tabs.caption(0), c.finalName);
        EXPECT_EQ(window.tabs.caption(1), "DATA2");
        EXPECT_EQ(window.pageName.shownNames, std::vector<std::string>(c.dialogs, "DATA1"))
            << "the dialog shows the old name";
        std::vector<std::string> notices;
        for (int row : c.noticeRows) notices.push_back(Message(row));
        EXPECT_EQ(questions(), notices);
        EXPECT_EQ(window.pageName.lastCaption, Message(6));
        EXPECT_EQ(window.pageName.lastPrompt, Message(7));
    }
}

TEST_F(PageCommandsTest, CancelLeavesANameThatWouldNotPass) {
    // Names read by "Open" are taken as they are; Cancel must not trap the user.
    for (const std::string name : {"", "a?b", "DATA2"}) {
        makePages({name, "DATA2"});
        window.pageName.answers = {std::nullopt};
        commands.PAGE_RENAMEClick();
        EXPECT_EQ(window.tabs.caption(0), name);
        EXPECT_TRUE(window.pageName.answers.empty());
    }
}

TEST_F(PageCommandsTest, CloseStartsAfreshButKeepsTheLastFileName) {
    makePages({"a", "b"});
    commands.setLastFileName("/x/y.mxd");
    window.messages.answers = {kIdNo};
    commands.PAGE_EXITClick();
    EXPECT_EQ(window.tabs.count(), 2);
    window.messages.answers = {kIdYes};
    commands.PAGE_EXITClick();
    EXPECT_EQ(questions(), std::vector<std::string>(2, Message(16)));
    EXPECT_EQ(window.tabs.captions(), std::vector<std::string>{"DATA1"});
    EXPECT_EQ(window.store.size(), 1);
    EXPECT_EQ(window.store.record(0), DefaultPage());
    EXPECT_EQ(window.screen.bar(0), Defaults::kFreq);
    EXPECT_EQ(window.screen.comment(), "");
    EXPECT_EQ(commands.lastFileName(), "/x/y.mxd");
}

TEST_F(PageCommandsTest, OpenWithoutPagesChangesNothingAndAsksNothing) {
    makePages({"mine"});
    const std::pair<const char*, std::string> files[] = {
        {"zero.mxd", "[MXC-9]\r\nDATA=0\r\n[DATA0]\r\nNAME=x\r\n"},
        {"negative.mxd", "[MXC-9]\r\nDATA=-3\r\n[DATA0]\r\nNAME=x\r\n"},
        {"nocount.mxd", "[DATA0]\r\nNAME=x\r\n"},
    };
    for (const auto& [name, bytes] : files) {
        WriteBytes(folder.file(name), bytes);
        window.files.openAnswers = {folder.file(name)};
        commands.PAGE_OPENClick();
        EXPECT_EQ(commands.lastFileName(), folder.file(name));
    }
    window.files.openAnswers = {folder.file("does-not-exist.mxd")};
    commands.PAGE_OPENClick();
    EXPECT_TRUE(window.messages.shown.empty());
    EXPECT_EQ(window.tabs.captions(), std::vector<std::string>{"mine"});
    EXPECT_EQ(window.store.record(0).comment, "page 0");
}

TEST_F(PageCommandsTest, SpecialFilesOpenAndImportLikeMissingOnes) {
    std::filesystem::create_directory(folder.file("folder.mxd"));
#ifdef _WIN32
    // Device names open the device in any folder and with any extension.
    const std::string fifo;
    const std::vector<std::string> paths = {folder.file("folder.mxd"), "NUL",
                                            folder.file("com1.mxd"), "\\\\.\\COM1"};
#else
    const std::string fifo = folder.file("fifo.mxd");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::string> paths = {fifo, folder.file("folder.mxd"), "/dev/null"};
#endif
    for (const std::string& path : paths) {
        for (bool import : {false, true}) {
            SCOPED_TRACE(path + (import ? " imported" : " opened"));
            makePages({"mine"});
            window.files.openAnswers = {path};
            auto done = std::async(std::launch::async, [&] {
                import ? commands.PAGE_INTClick() : commands.PAGE_OPENClick();
            });
            if (done.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
#ifndef _WIN32
                // Release a reader blocked in the open of the FIFO, then report it.
                int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
                done.wait();
                if (writer >= 0) ::close(writer);
#endif
                ADD_FAILURE() << "the command hung";
            }
            EXPECT_TRUE(window.messages.shown.empty());
            EXPECT_EQ(window.tabs.captions(), std::vector<std::string>{"mine"});
            EXPECT_EQ(commands.lastFileName(), path);
        }
    }
}

TEST_F(PageCommandsTest, OpenAndImportShowEveryPageTheFileClaims) {
    // A damaged file: three pages claimed, one present. The missing ones read as empty
    // names with default values, so the damage can be seen.
    WriteBytes(folder.file("cut.mxd"), "[MXC-9]\r\nDATA=3\r\n[DATA0]\r\nNAME=A\r\nVER=1\r\n");
    struct Case {
        bool import;
        std::vector<std::string> captions;
    };
    const Case cases[] = {
        {false, {"A", "", ""}},
        {true, {"mine", "A", "", "_1"}},
    };
    for (const Case& c : cases) {
        makePages({"mine"});
        window.files.openAnswers = {folder.file("cut.mxd")};
        window.messages.answers = {kIdYes};
        c.import ? commands.PAGE_INTClick() : commands.PAGE_OPENClick();
        EXPECT_EQ(window.tabs.captions(), c.captions);
        TMXC9Data missing = DefaultPage();
        missing.cutVt = 3;  // a missing section has no version
        EXPECT_EQ(window.store.records().back(), missing);
    }
}

TEST_F(PageCommandsTest, TheWindowHoldsNoMorePagesThanAFileReadsAndSaysWhereItStops) {
    const std::string full = writeFile("full.mxd", std::vector<std::string>(1000, "p"));
    WriteBytes(folder.file("damaged.mxd"), "[MXC-9]\r\nDATA=2000000000\r\n");
    auto cut = [](int read, const char* stated) {
        return MessageWith(kMessagePagesCut, {std::to_string(read), stated, "1000"});
    };
    const std::string limit = MessageWith(kMessagePageLimit, {"1000"});
    struct Case {
        const char* what;
        int pagesBefore;
        void (PageCommands::*run)();
        std::string file;
        int tabs;
        std::vector<std::string> told;  // after the open question's Yes
    };
    const Case cases[] = {
        {"import into a window with a page",
         1,
         &PageCommands::PAGE_INTClick,
         full,
         1000,
         {cut(999, "1000")}},
        {"import into a full window",
         1000,
         &PageCommands::PAGE_INTClick,
         full,
         1000,
         {cut(0, "1000")}},
        {"new page in a full window", 1000, &PageCommands::PAGE_ADDClick, "", 1000, {limit}},
        {"new page below the limit", 999, &PageCommands::PAGE_ADDClick, "", 1000, {}},
        {"open a full file", 1, &PageCommands::PAGE_OPENClick, full, 1000, {}},
        {"open a damaged count",
         1,
         &PageCommands::PAGE_OPENClick,
         folder.file("damaged.mxd"),
         1000,
         {cut(1000, "2000000000")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        makePages(std::vector<std::string>(static_cast<size_t>(c.pagesBefore), "x"));
        window.files.openAnswers = {c.file};
        window.messages.answers = {kIdYes};
        window.messages.shown.clear();
        (commands.*c.run)();
        EXPECT_EQ(window.tabs.count(), c.tabs);
        EXPECT_EQ(static_cast<int>(window.store.records().size()), c.tabs);
        std::vector<std::string> told = questions();
        if (c.run == &PageCommands::PAGE_OPENClick) told.erase(told.begin());
        EXPECT_EQ(told, c.told);
    }
    // What the window holds, a file holds and gives back whole.
    window.files.saveAnswers = {folder.file("again")};
    commands.PAGE_ALLSAVEClick();
    window.files.openAnswers = {folder.file("again.mxd")};
    window.messages.answers = {kIdYes};
    window.messages.shown.clear();
    commands.PAGE_OPENClick();
    EXPECT_EQ(window.tabs.count(), 1000);
    EXPECT_EQ(window.messages.shown.size(), 1u);  // the open question only
}

// Every double-byte code of code page 932 (every lead byte with every second byte,
// defined or not) and bytes that start no character, in page names and comment lines.
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

// Counts the changes of the tab strip that reach the window.
struct TabChangeCounter : TabStrip::Listener {
    int changes = 0;
    void tabsChanged() override { ++changes; }
};

TEST_F(PageCommandsTest, EachCommandShowsItsTabsAsOneChangeHoweverManyPagesItTouches) {
    const std::string path = writeFile("many.mxd", std::vector<std::string>(300, "p"));
    struct Case {
        const char* command;
        void (PageCommands::*run)();
        int tabs;
    };
    const Case cases[] = {
        {"Open", &PageCommands::PAGE_OPENClick, 300},
        {"Import File", &PageCommands::PAGE_INTClick, 302},
        {"Close", &PageCommands::PAGE_EXITClick, 1},
        {"NewPage", &PageCommands::PAGE_ADDClick, 3},
        {"Delete", &PageCommands::PAGE_DELETEClick, 1},
    };
    for (const Case& c : cases) {
        makePages({"DATA1", "DATA2"});
        window.files.openAnswers = {path};
        TabChangeCounter counter;
        window.tabs.setListener(&counter);
        (commands.*c.run)();
        window.tabs.setListener(nullptr);
        EXPECT_EQ(window.tabs.count(), c.tabs) << c.command;
        EXPECT_EQ(counter.changes, 1) << c.command;
    }
}

TEST_F(PageCommandsTest, WhileThePageIsHeldNoCommandChangesAnythingOrAsks) {
    const std::string path = writeFile("other.mxd", {"X", "Y"});
    makePages({"DATA1", "DATA2"});
    window.selection = {2, 9, 5};  // a range: the line would be on offer
    window.screen.setBar(0, 63);   // an edit not yet stored
    auto screenNow = [this] {
        PageStore copy(window.screen, window.display);
        copy.resize(1);
        copy.SaveScreenToPage(0);
        return copy.record(0);
    };
    const TMXC9Data screen = screenNow();
    const std::vector<TMXC9Data> records = window.store.records();
    const std::string lastFile = commands.lastFileName();
    window.files.openAnswers = {path, path};
    window.files.saveAnswers = {folder.file("held.mxd"), folder.file("held.mxd")};
    window.pageName.answers = {"renamed"};
    window.messages.answers = {kIdYes, kIdYes, kIdYes, kIdYes, kIdYes, kIdYes};

    commands.setPageHeld(true);
    const PopupMenuState nothing{.rename = false,
                                 .add = false,
                                 .frequencyReset = false,
                                 .valuesReset = false,
                                 .open = false,
                                 .insert = false,
                                 .save = false,
                                 .saveAll = false,
                                 .close = false};
    EXPECT_EQ(commands.PopupMenu1Popup(), nothing);
    for (void (PageCommands::*run)() :
         {&PageCommands::PAGE_RENAMEClick, &PageCommands::PAGE_ADDClick,
          &PageCommands::LINER_ADJClick, &PageCommands::FQRESET_MENUClick,
          &PageCommands::ATHOR_MENUClick, &PageCommands::PAGE_OPENClick,
          &PageCommands::PAGE_INTClick, &PageCommands::PAGE_SAVEClick,
          &PageCommands::PAGE_ALLSAVEClick, &PageCommands::PAGE_EXITClick,
          &PageCommands::PAGE_DELETEClick})
        (commands.*run)();
    EXPECT_FALSE(commands.OpenFileAtStart(path));

    EXPECT_EQ(window.tabs.captions(), (std::vector<std::string>{"DATA1", "DATA2"}));
    EXPECT_EQ(window.tabs.selected(), 0);
    EXPECT_EQ(window.store.records(), records);
    EXPECT_EQ(screenNow(), screen);
    EXPECT_EQ(commands.lastFileName(), lastFile);
    EXPECT_TRUE(window.messages.shown.empty());
    EXPECT_TRUE(window.files.openProposed.empty());
    EXPECT_TRUE(window.files.saveProposed.empty());
    EXPECT_TRUE(window.pageName.shownNames.empty());
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"other.mxd"});

    commands.setPageHeld(false);  // the transfer has ended
    commands.PAGE_ADDClick();
    EXPECT_EQ(window.tabs.count(), 3);
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
