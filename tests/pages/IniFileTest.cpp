#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <climits>
#include <filesystem>

#include "platform/IniFile.h"
#include "tests/pages/PagesTestSupport.h"

namespace mxc9 {
namespace {

using testing::CrLfLines;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

struct ReadCase {
    const char* what;
    std::string file;
    const char* section;
    const char* key;
    const char* expected;  // "<default>" when the key must not be found
};

const ReadCase kReadCases[] = {
    {"exact names", "[Sec]\r\nKey=value\r\n", "Sec", "Key", "value"},
    {"section and key in other letter case", "[sEc]\r\nkEY=value\r\n", "SEC", "key", "value"},
    {"blanks around the equals sign", "[s]\r\n  key \t=  value with blanks \t\r\n", "s", "key",
     "value with blanks"},
    {"blanks around the header", "  [ s ]  \r\nk=v\r\n", "s", "k", "v"},
    {"double quotes removed", "[s]\r\nk=\" quoted \"\r\n", "s", "k", " quoted "},
    {"single quotes removed", "[s]\r\nk='x'\r\n", "s", "k", "x"},
    {"only one pair of quotes removed", "[s]\r\nk=\"\"x\"\"\r\n", "s", "k", "\"x\""},
    {"unbalanced quote kept", "[s]\r\nk=\"x\r\n", "s", "k", "\"x"},
    {"value after the first equals sign", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
    {"empty value", "[s]\r\nk=\r\n", "s", "k", ""},
    {"first of duplicated keys", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"},
    {"first of duplicated sections", "[s]\r\nk=1\r\n[S]\r\nk=2\r\nj=3\r\n", "s", "k", "1"},
    {"keys of a later duplicate section unseen", "[s]\r\nk=1\r\n[s]\r\nj=3\r\n", "s", "j",
     "<default>"},
    {"LF-only lines", "[a]\nk=1\n[b]\nk=2\n", "b", "k", "2"},
    {"lone CR lines", "[a]\rk=1\r[b]\rk=2\r", "b", "k", "2"},
    {"no final line break", "[a]\r\nk=last", "a", "k", "last"},
    {"key in another section", "[a]\r\nk=1\r\n[b]\r\n", "b", "k", "<default>"},
    {"line without equals sign is no entry", "[a]\r\nk\r\n", "a", "k", "<default>"},
    {"comment line is no entry", "[a]\r\n;k=1\r\n", "a", ";k", "<default>"},
    {"entry before any section", "k=1\r\n[a]\r\n", "a", "k", "<default>"},
    {"UTF-8 byte order mark", "\xEF\xBB\xBF[a]\r\nk=日本\r\n", "a", "k", "日本"},
    {"CP932 text", "[a]\r\nk=\x95\x5C\x83\x5C\r\n", "a", "k", "表ソ"},
    {"CP932 value ending in the backslash code", "[a]\r\nk=\x95\x5C\r\nj=2\r\n", "a", "j", "2"},
    {"CP932 section name", "[\x95\x5C]\r\nk=1\r\n", "表", "k", "1"},
    // ア is 83 41 and ヂ is 83 61: their second bytes look like A and a but must not fold.
    {"second bytes of CP932 are not letters", "[\x83\x41]\r\nk=1\r\n", "ヂ", "k", "<default>"},
    {"empty file", "", "a", "k", "<default>"},
};

TEST(IniFileReading, ValuesAreTakenAsTheProfileFunctionsTakeThem) {
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.what);
        IniFile file = IniFile::fromBytes(c.file);
        EXPECT_EQ(file.readString(c.section, c.key, "<default>"), c.expected);
    }
}

TEST(IniFileReading, IntegersFollowTheProfileRules) {
    const std::pair<const char*, std::optional<int32_t>> cases[] = {
        {"0", 0},
        {"42", 42},
        {"-1", -1},
        {"+7", 7},
        {"0x1F", 31},
        {"0X1f", 31},
        {"$1F", 31},
        {"-0x10", -16},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"0x7FFFFFFF", INT32_MAX},
        {"007", 7},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"0x80000000", std::nullopt},
        {"0xFFFFFFFF", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"12abc", std::nullopt},
        {"1.5", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"0x1G", std::nullopt},
        {"1 2", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        IniFile file = IniFile::fromBytes(std::string("[s]\r\nk= ") + text + " \r\n");
        EXPECT_EQ(file.readInteger("s", "k", -99), expected.value_or(-99));
    }
    EXPECT_EQ(IniFile::fromBytes("[s]\r\n").readInteger("s", "k", 12), 12);
}

TEST(IniFileWriting, ChangesOnlyWhatIsWrittenAndKeepsEveryOtherLine) {
    IniFile file =
        IniFile::fromBytes("; notes\n[a]\nx=1\n\n; about b\n[b]\nKey = old\ny=2\n\n[c]\n");
    file.writeString("B", "key", "new");  // replaced in place, other letter case
    file.writeString("a", "z", "3");      // new key after the last entry of a
    file.writeInteger("c", "first", -5);  // first key of an empty section
    file.writeString("d", "w", "表");     // new section at the end, CP932 text
    EXPECT_EQ(file.contents(),
              "; notes\n[a]\nx=1\nz=3\n\n; about b\n[b]\nkey=new\ny=2\n\n[c]\nfirst=-5\n[d]\n"
              "w=\x95\x5C\n");
    EXPECT_EQ(file.readString("b", "KEY", ""), "new");
    EXPECT_EQ(file.readString("d", "w", ""), "表");
}

TEST(IniFileWriting, EveryLineKeepsItsOwnEnd) {
    // The key written changes; every other byte stays. New lines end like the file's
    // first line; a last line without an end gets one only when a line follows it.
    struct Case {
        const char* before;
        const char* key;
        const char* after;
    };
    const Case cases[] = {
        {"[MXC9]\nCommPort=1\n[Ports]\nCOM1=/dev/ttyUSB0\n", "CommPort",
         "[MXC9]\nCommPort=2\n[Ports]\nCOM1=/dev/ttyUSB0\n"},
        {"[MXC9]\r\nCommPort=1\n[Ports]\rCOM1=x", "CommPort",
         "[MXC9]\r\nCommPort=2\n[Ports]\rCOM1=x"},
        {"; note\n[MXC9]\nOther=1", "CommPort", "; note\n[MXC9]\nOther=1\nCommPort=2\n"},
        {"[Ports]\nCOM1=x\n", "CommPort", "[Ports]\nCOM1=x\n[MXC9]\nCommPort=2\n"},
        {"[Ports]\r\nCOM1=x", "CommPort", "[Ports]\r\nCOM1=x\r\n[MXC9]\r\nCommPort=2\r\n"},
    };
    for (const Case& c : cases) {
        IniFile file = IniFile::fromBytes(c.before);
        file.writeInteger("MXC9", c.key, 2);
        EXPECT_EQ(file.contents(), c.after) << c.before;
    }
}

TEST(IniFileWriting, FileWithByteOrderMarkStaysUtf8) {
    IniFile file = IniFile::fromBytes("\xEF\xBB\xBF[a]\nk=1\n");
    file.writeString("a", "n", "日本");
    EXPECT_EQ(file.contents(), "\xEF\xBB\xBF[a]\nk=1\nn=日本\n");
}

TEST(IniFileWriting, LineBreaksInAValueCannotStartNewEntries) {
    IniFile file = IniFile::fromBytes("");
    file.writeString("a", "k", "x\r\n[evil]\nk=2");
    EXPECT_FALSE(file.hasSection("evil"));
    EXPECT_EQ(file.contents(), CrLfLines({"[a]", "k=x  [evil] k=2"}));
}

TEST(IniFileOnDisk, WritesOnlyWhenReleasedOrUpdated) {
    TempFolder folder;
    const std::string path = folder.file("set.ini");
    WriteBytes(path, "[a]\nk=1\n");
    {
        IniFile file(path);
        EXPECT_EQ(file.readInteger("a", "k", 0), 1);
        for (int i = 0; i < 100; ++i) file.writeInteger("a", "n" + std::to_string(i), i);
        EXPECT_EQ(ReadBytes(path), "[a]\nk=1\n") << "written before the object was released";
    }
    IniFile again(path);
    EXPECT_EQ(again.readInteger("a", "k", 0), 1);
    EXPECT_EQ(again.readInteger("a", "n99", 0), 99);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"set.ini"}) << "temporary file left";
}

TEST(IniFileOnDisk, UnchangedFileIsNotRewritten) {
    TempFolder folder;
    const std::string path = folder.file("keep.ini");
    WriteBytes(path, "[a]\nk=1\n");
#ifndef _WIN32
    auto inode = [&path] {
        struct stat info {};
        stat(path.c_str(), &info);
        return info.st_ino;
    };
    const auto before = inode();
#endif
    {
        IniFile file(path);
        file.writeInteger("a", "k", 1);  // the same line again
        EXPECT_FALSE(file.modified());
    }
    EXPECT_EQ(ReadBytes(path), "[a]\nk=1\n");
#ifndef _WIN32
    EXPECT_EQ(inode(), before) << "the file was replaced";
#endif
}

TEST(IniFileOnDisk, EmptyStartReplacesTheWholeFile) {
    TempFolder folder;
    const std::string path = folder.file("new.ini");
    WriteBytes(path, "[old]\nstale=1\n");
    IniFile file(path, IniFile::Start::Empty);
    file.writeInteger("a", "k", 2);
    file.updateFile();
    EXPECT_EQ(ReadBytes(path), CrLfLines({"[a]", "k=2"}));
}

#ifndef _WIN32
TEST(IniFileOnDisk, WritingThroughALinkReplacesTheFileItPointsAt) {
    TempFolder folder;
    WriteBytes(folder.file("real.ini"), "[a]\nk=1\n");
    std::filesystem::create_symlink(folder.file("real.ini"), folder.file("link.ini"));
    {
        IniFile file(folder.file("link.ini"));
        file.writeInteger("a", "k", 5);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("link.ini")));
    EXPECT_EQ(ReadBytes(folder.file("real.ini")), "[a]\nk=5\n");
}
#endif

TEST(IniFileOnDisk, FailedWriteRaisesTheErrorAndKeepsTheOldFile) {
    TempFolder folder;
    // A folder in the way of the file.
    const std::string blocked = folder.file("blocked.ini");
    std::filesystem::create_directory(blocked);
    IniFile onFolder(blocked);
    onFolder.writeInteger("a", "k", 1);
    try {
        onFolder.updateFile();
        FAIL() << "no error raised";
    } catch (const EIniFileError& error) {
        EXPECT_EQ(std::string(error.what()), blocked + " に書き込めません");
        EXPECT_EQ(error.path(), blocked);
    }
    EXPECT_TRUE(std::filesystem::is_directory(blocked));

#ifdef _WIN32
    // A device name opens the device in any folder: nothing is written there.
    for (const std::string& device : {std::string("NUL"), folder.file("com1.ini")}) {
        IniFile onDevice(device);
        onDevice.writeInteger("a", "k", 1);
        EXPECT_THROW(onDevice.updateFile(), EIniFileError) << device;
    }
    const size_t others = 2;
#elif defined(__EMSCRIPTEN__)
    // The browser's files are plain files and folders.
    const size_t others = 0;
#else
    // A FIFO in the way, named or through a link, stays a FIFO.
    ASSERT_EQ(mkfifo(folder.file("pipe.ini").c_str(), 0600), 0);
    std::filesystem::create_symlink(folder.file("pipe.ini"), folder.file("pipe-link.ini"));
    for (const char* name : {"pipe.ini", "pipe-link.ini"}) {
        IniFile onFifo(folder.file(name));
        onFifo.writeInteger("a", "k", 1);
        EXPECT_THROW(onFifo.updateFile(), EIniFileError) << name;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(folder.file("pipe.ini")));
    const size_t others = 4;
#endif

    // A folder that does not exist.
    IniFile nowhere(folder.file("missing/x.ini"));
    nowhere.writeInteger("a", "k", 1);
    EXPECT_THROW(nowhere.updateFile(), EIniFileError);

#ifdef __EMSCRIPTEN__
    // The browser's files are in the page's memory, which grows: nothing fills up.
    EXPECT_EQ(others, 0u);
    return;
#endif
    const std::string path = folder.file("old.ini");
    const std::string old = "[a]\r\nk=1\r\n";
    WriteBytes(path, old);
    IniFile big(path);
    big.writeString("a", "k", std::string(64 * 1024, 'x'));
#ifdef _WIN32
    // A file that another program holds open cannot be replaced: the old one stays.
    testing::WithFileHeldOpen(path, [&] { EXPECT_THROW(big.updateFile(), EIniFileError); });
#else
    // A disk that fills up while the new file is written: the old file is untouched.
    testing::WithFileSizeLimit(4096, [&] { EXPECT_THROW(big.updateFile(), EIniFileError); });
#endif
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(folder.entries().size(), others) << "temporary file left behind";
}

TEST(IniFileOnDisk, FilesInFoldersNamedInAnyScriptAreSavedAndReopened) {
    // 表 and ソ end in the backslash code in CP932: a path passed through the ANSI code
    // page would break there.
    const std::pair<const char*, const char*> places[] = {
        {"設定データ", "表ソ.mxd"},
        {"Ελληνικά και кириллица", "αρχείο.ini"},
        {"😀 emoji", "MXC9.ini"},
    };
    TempFolder root;
    for (const auto& [folderName, fileName] : places) {
        SCOPED_TRACE(folderName);
        const std::string folder = root.file(folderName);
        std::filesystem::create_directory(testing::NativePath(folder));
        const std::string path = folder + testing::Separator() + fileName;
        WriteBytes(path, "[old]\r\nk=1\r\n");
        {
            IniFile file(path);
            EXPECT_EQ(file.readInteger("old", "k", 0), 1);
            file.writeString("a", "name", "表ソ");
            file.updateFile();
        }
        EXPECT_EQ(ReadBytes(path), CrLfLines({"[old]", "k=1", "[a]", "name=\x95\x5C\x83\x5C"}));
        EXPECT_EQ(IniFile(path).readString("a", "name", ""), "表ソ");
    }
}

// A folder the user may not write into can hold a file the user may write (a settings
// file made writable for all in a shared folder): the keys go into that file.
TEST(IniFileOnDisk, SavingInAFolderThatRefusesNewFilesWritesIntoTheExistingFile) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "the browser's files have no owners to refuse new files";
#endif
    TempFolder folder;
    const std::string path = folder.file("set.mxd");
    const std::string old =
        "; kept\r\n[MXC-9]\r\nDATA=3\r\n[DATA0]\r\nNAME=old\r\n"
        "Comment0=2\r\n[DATA2]\r\nNAME=third\r\n";
    WriteBytes(path, old);
    IniFile whole(path, IniFile::Start::Empty);
    whole.writeInteger("MXC-9", "DATA", 1);
    whole.writeCp932("DATA0", "NAME", "\x95\x5C \"q\"");
    // Its new text is shorter than the old one: nothing of the old tail may stay.
    WriteBytes(folder.file("MXC9.ini"), "[MXC9]\nCommPort=10\n[Ports]\nCOM1=x\n");
    IniFile update(folder.file("MXC9.ini"));
    update.writeInteger("MXC9", "CommPort", 3);
    IniFile missing(folder.file("new.mxd"), IniFile::Start::Empty);
    missing.writeInteger("MXC-9", "DATA", 1);
    testing::WithNewFilesRefused(folder.folder(), [&] {
        EXPECT_NO_THROW(whole.updateFile());
        EXPECT_NO_THROW(update.updateFile());
        // No file to write into: nothing can be saved.
        EXPECT_THROW(missing.updateFile(), EIniFileError);
    });
    // The keys written replace theirs; every other key of the old file stays in it.
    EXPECT_EQ(ReadBytes(path),
              "; kept\r\n[MXC-9]\r\nDATA=1\r\n[DATA0]\r\nNAME=\x95\x5C \"q\"\r\n"
              "Comment0=2\r\n[DATA2]\r\nNAME=third\r\n");
    EXPECT_EQ(ReadBytes(folder.file("MXC9.ini")), "[MXC9]\nCommPort=3\n[Ports]\nCOM1=x\n");
    auto entries = folder.entries();
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, (std::vector<std::string>{"MXC9.ini", "set.mxd"}));
}

}  // namespace
}  // namespace mxc9
