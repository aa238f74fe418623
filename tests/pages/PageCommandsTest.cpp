// The page commands that change the tabs and the pages on screen.
#include "tests/pages/PageCommandsFixture.h"

namespace mxc9 {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

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
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "the browser's files are plain files and folders";
#endif
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

}  // namespace
}  // namespace mxc9
