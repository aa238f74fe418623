// The application settings file MXC9.ini on real files in a temporary program folder.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/AppSettings.h"
#include "common/MessageTable.h"
#include "device/TransferCommands.h"
#include "platform/ProgramFolder.h"
#include "tests/device/ScriptedPort.h"
#include "tests/device/TempFolder.h"

namespace mxc9 {
namespace {

using testing::TempProgramFolder;

class AppSettingsFile : public ::testing::Test {
  protected:
    TempProgramFolder folder;
    testing::FakeMessageBoxes boxes;
    testing::FakeSerialDevices devices;
    AppSettings settings{folder, boxes, &devices};
};

TEST_F(AppSettingsFile, FirstStartCreatesTheFileWithOff) {
    EXPECT_EQ(settings.RestorePortEntry(), 0);
    EXPECT_EQ(folder.read("MXC9.ini"), "[MXC9]\r\nCommPort=0\r\n");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(AppSettingsFile, ValidEntriesAreRestoredAndTheFileLeftAsItWas) {
    for (int port : {1, 3, 10}) {
        const std::string text = "[MXC9]\r\nCommPort=" + std::to_string(port) + "\r\n";
        folder.write("MXC9.ini", text);
        EXPECT_EQ(settings.RestorePortEntry(), port);
        EXPECT_EQ(folder.read("MXC9.ini"), text);
    }
}

TEST_F(AppSettingsFile, InvalidEntriesShowOffAndAreReplacedByZero) {
    for (std::string value : {"0", "11", "-1", "abc", "", "99999999999"}) {
        folder.write("MXC9.ini", "[Other]\r\nKeep=yes\r\n[MXC9]\r\nCommPort=" + value + "\r\n");
        int index = 5;
        EXPECT_FALSE(settings.LoadAppSettings(index)) << value;
        EXPECT_EQ(index, 0);
        EXPECT_EQ(settings.RestorePortEntry(), 0);
        EXPECT_EQ(folder.read("MXC9.ini"), "[Other]\r\nKeep=yes\r\n[MXC9]\r\nCommPort=0\r\n")
            << value;
    }
}

TEST_F(AppSettingsFile, MissingSectionOrKeyReadsAsOffAndOtherSectionsSurvive) {
    folder.write("MXC9.ini", "[Ports]\r\nCOM1=/dev/pts/7\r\n[MXC9]\r\nOther=1\r\n");
    EXPECT_EQ(settings.RestorePortEntry(), 0);
    const std::string text = folder.read("MXC9.ini");
    EXPECT_NE(text.find("COM1=/dev/pts/7"), std::string::npos);
    EXPECT_NE(text.find("Other=1"), std::string::npos);
    EXPECT_NE(text.find("CommPort=0"), std::string::npos);
}

TEST_F(AppSettingsFile, PortsSectionNamesTheDeviceFileOfEachPort) {
    folder.write("MXC9.ini",
                 "[MXC9]\r\nCommPort=2\r\n[ports]\r\ncom1=/dev/ttyUSB0\r\nCOM2=\r\n"
                 "COM10 = /dev/ttyACM0 \r\n");
    devices.devices = {{"/dev/ttyS0", "", false, "", "", 4, "serial8250"}};
    EXPECT_EQ(settings.PortDevicePath(1), "/dev/ttyUSB0");
    if (SystemPortNaming() == PortNaming::ComNames) {
        // Windows: a COMn without a key is the system's own COMn.
        EXPECT_EQ(settings.PortDevicePath(2), R"(\\.\COM2)");
        EXPECT_EQ(settings.PortDevicePath(3), R"(\\.\COM3)");
    } else {
        EXPECT_EQ(settings.PortDevicePath(2), "/dev/ttyS0");  // empty: the first port found
        EXPECT_EQ(settings.PortDevicePath(3), "");            // nothing left for it
    }
    EXPECT_EQ(settings.PortDevicePath(10), "/dev/ttyACM0");
    // Saving the port entry leaves the section alone.
    settings.SaveAppSettings(7);
    EXPECT_EQ(folder.read("MXC9.ini"),
              "[MXC9]\r\nCommPort=7\r\n[ports]\r\ncom1=/dev/ttyUSB0\r\nCOM2=\r\n"
              "COM10 = /dev/ttyACM0 \r\n");
}

TEST_F(AppSettingsFile, AFileThatCannotBeWrittenIsReportedAndStartUpGoesOn) {
    folder.path = folder.path + "missing-folder/";
    EXPECT_EQ(settings.RestorePortEntry(), 0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_NE(boxes.shown[0].text.find("MXC9.ini"), std::string::npos);
    EXPECT_EQ(boxes.shown[0].icon, MbIcon::Error);
    EXPECT_FALSE(settings.SaveAppSettings(0));
}

TEST(PortList, HoldsOffAndTenPorts) {
    const auto items = PortListItems();
    ASSERT_EQ(items.size(), 11u);
    EXPECT_EQ(items.front(), "OFF");
    EXPECT_EQ(items[1], "COM1");
    EXPECT_EQ(items.back(), "COM10");
}

// ---- where the file lives ---------------------------------------------------------------

#ifdef _WIN32
// Folder layouts around a program file, made for real under a temporary folder.
TEST(SettingsLocation, AnInstallationIsKnownByTheUninstallerBesideTheProgram) {
    const struct {
        std::vector<std::string> folders;  // made under the temporary folder
        std::string file;                  // made as a plain file, when given
        std::string program;               // the program's folder
        bool installed;
    } layouts[] = {
        {{"Program Files\\MXC9"},
         "Program Files\\MXC9\\uninstall.exe",
         "Program Files\\MXC9\\",
         true},
        {{"ツール\\MXC9"}, "ツール\\MXC9\\uninstall.exe", "ツール\\MXC9", true},  // anywhere
        {{"Program Files\\MXC9"}, "", "Program Files\\MXC9\\", false},  // a copy put there
        {{"portable\\uninstall.exe"}, "", "portable\\", false},         // a folder of that name
        {{"build\\tests"}, "build\\uninstall.exe", "build\\tests\\", false},  // not beside it
    };
    for (const auto& layout : layouts) {
        TempProgramFolder root;
        for (const std::string& folder : layout.folders)
            std::filesystem::create_directories(testing::NativePath(root.file(folder)));
        if (!layout.file.empty()) root.write(layout.file, "MZ");
        EXPECT_EQ(IsInstalledLayout(root.file(layout.program)), layout.installed) << layout.program;
    }
}

TEST(SettingsLocation, PerUserFoldersAreTheSystemsKnownFolders) {
    const std::string appData = std::getenv("APPDATA") ? std::getenv("APPDATA") : "";
    const std::string profile = std::getenv("USERPROFILE") ? std::getenv("USERPROFILE") : "";
    ASSERT_FALSE(appData.empty() || profile.empty());
    EXPECT_EQ(UserSettingsFolder(), appData + "\\MXC9\\");
    EXPECT_EQ(HomeFolder(), profile + "\\");
    EXPECT_EQ(SystemDocumentsFolder(), profile + "\\Documents\\");
}

// An installed program keeps the file per user and proposes the documents folder; any other
// keeps both in its own folder.
TEST(SettingsLocation, InstalledProgramWritesOnlyIntoTheUsersFolders) {
    TempProgramFolder root;
    for (const char* folder : {"Program Files\\MXC9", "ユーザー\\Documents", "portable"})
        std::filesystem::create_directories(testing::NativePath(root.file(folder)));
    root.write("Program Files\\MXC9\\uninstall.exe", "MZ");
    const std::string appData = root.file("ユーザー\\AppData\\Roaming\\MXC9\\");
    const struct {
        std::string program, documents, settingsFolder, documentsFolder;
    } cases[] = {
        {root.file("Program Files\\MXC9\\"), root.file("ユーザー\\Documents"), appData,
         root.file("ユーザー\\Documents\\")},
        {root.file("Program Files\\MXC9\\"), root.file("ユーザー\\Missing"), appData, HomeFolder()},
        {root.file("Program Files\\MXC9\\"), "", appData, HomeFolder()},
        {root.file("portable\\"), root.file("ユーザー\\Documents"), root.file("portable\\"),
         root.file("portable\\")},
    };
    for (const auto& c : cases) {
        ProgramFolder folder([&c] { return c.documents; }, [&c] { return c.program; },
                             [&appData] { return appData; });
        EXPECT_EQ(folder.settingsFolder(), c.settingsFolder) << c.program;
        EXPECT_EQ(folder.documentsFolder(), c.documentsFolder) << c.documents;

        testing::FakeMessageBoxes boxes;
        AppSettings settings(folder, boxes);
        EXPECT_EQ(settings.RestorePortEntry(), 0);
        EXPECT_TRUE(boxes.shown.empty()) << "the per-user folder is made when first written";
        EXPECT_EQ(testing::ReadBytes(c.settingsFolder + "MXC9.ini"), "[MXC9]\r\nCommPort=0\r\n");
        std::filesystem::remove(testing::NativePath(c.settingsFolder + "MXC9.ini"));
    }
    EXPECT_FALSE(root.exists("Program Files\\MXC9\\MXC9.ini"));
}
#elif !defined(__EMSCRIPTEN__)  // the browser edition keeps its settings in the page's storage
// Folder layouts around a program file, made for real under a temporary folder.
TEST(SettingsLocation, AnInstallationIsKnownByTheLayoutAroundTheProgram) {
    const struct {
        std::vector<std::string> folders;  // made under the temporary folder
        std::string file;                  // made as a plain file, when given
        std::string program;               // the program's folder
        bool installed;
    } layouts[] = {
        {{"usr/bin", "usr/share/mxc9"}, "", "usr/bin/", true},
        {{"opt/x/bin", "opt/x/share/mxc9"}, "", "opt/x/bin", true},  // unpacked anywhere
        {{"usr/bin", "usr/share/other"}, "", "usr/bin/", false},
        {{"build/default/app", "build/default/share/mxc9"}, "", "build/default/app/", false},
        {{"usr/sbin", "usr/share/mxc9"}, "", "usr/sbin/", false},
        {{"usr/Bin", "usr/share/mxc9"}, "", "usr/Bin/", false},
        {{"usr/bin", "usr/share"}, "usr/share/mxc9", "usr/bin/", false},
    };
    for (const auto& layout : layouts) {
        TempProgramFolder root;
        for (const std::string& folder : layout.folders)
            std::filesystem::create_directories(root.file(folder));
        if (!layout.file.empty()) root.write(layout.file, "not a folder");
        EXPECT_EQ(IsInstalledLayout(root.file(layout.program)), layout.installed) << layout.program;
    }
}

TEST(SettingsLocation, PerUserFolderFollowsTheXdgConfigHome) {
    const struct {
        const char* configHome;
        const char* home;
        const char* folder;
    } cases[] = {
        {"/x/config", "/home/u", "/x/config/mxc9/"},
        {"/x/config/", "/home/u", "/x/config/mxc9/"},
        {nullptr, "/home/u", "/home/u/.config/mxc9/"},
        {"", "/home/u/", "/home/u/.config/mxc9/"},
        {"relative/config", "/home/u", "/home/u/.config/mxc9/"},  // not absolute: ignored
    };
    for (const auto& c : cases) {
        const auto environment = [&c](const char* name) -> const char* {
            return std::string(name) == "XDG_CONFIG_HOME" ? c.configHome
                   : std::string(name) == "HOME"          ? c.home
                                                          : nullptr;
        };
        EXPECT_EQ(UserSettingsFolder(environment), c.folder)
            << (c.configHome ? c.configHome : "unset");
    }
}

// An installed program keeps the file per user and proposes the documents folder; any other
// keeps both in its own folder.
TEST(SettingsLocation, InstalledProgramWritesOnlyIntoTheUsersFolders) {
    TempProgramFolder root;
    std::filesystem::create_directories(root.file("usr/bin"));
    std::filesystem::create_directories(root.file("usr/share/mxc9"));
    std::filesystem::create_directories(root.file("home/Documents"));
    std::filesystem::create_directories(root.file("build"));
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", root.file("home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", root.file("home/config").c_str(), 1);
    const struct {
        std::string program, documents, settingsFolder, documentsFolder;
    } cases[] = {
        {"usr/bin/", "home/Documents", "home/config/mxc9/", "home/Documents/"},
        {"usr/bin/", "home/Missing", "home/config/mxc9/", "home/"},
        {"usr/bin/", "", "home/config/mxc9/", "home/"},
        {"build/", "home/Documents", "build/", "build/"},
    };
    for (const auto& c : cases) {
        const std::string documents = c.documents.empty() ? "" : root.file(c.documents);
        ProgramFolder folder([documents] { return documents; },
                             [&] { return root.file(c.program); });
        EXPECT_EQ(folder.settingsFolder(), root.file(c.settingsFolder)) << c.program;
        EXPECT_EQ(folder.documentsFolder(), root.file(c.documentsFolder)) << c.documents;

        testing::FakeMessageBoxes boxes;
        AppSettings settings(folder, boxes);
        EXPECT_EQ(settings.RestorePortEntry(), 0);
        EXPECT_TRUE(boxes.shown.empty()) << "the per-user folder is made when first written";
        EXPECT_TRUE(std::filesystem::exists(root.file(c.settingsFolder + "MXC9.ini")));
        std::filesystem::remove(root.file(c.settingsFolder + "MXC9.ini"));
    }
    EXPECT_FALSE(std::filesystem::exists(root.file("usr/bin/MXC9.ini")));
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", home.c_str(), 1);
}
#endif

// The port list's selection against the file.
class PortSelection : public AppSettingsFile {
  protected:
    void SetUp() override {
        auto owned = std::make_unique<testing::ScriptedPort>();
        port = owned.get();
        link.CreatePort(std::move(owned));
    }
    ScreenModel screen;
    DeviceLink link{boxes};
    testing::ScriptedPort* port = nullptr;
    TransferCommands commands{screen, link, boxes, settings};
};

TEST_F(PortSelection, AChosenPortIsSavedAtOnceEvenWhenItDoesNotOpen) {
    port->failOpen = true;
    EXPECT_FALSE(commands.CommPortCloseUp(4));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, PortErrorText());
    EXPECT_EQ(boxes.shown[0].caption, "Error");
    EXPECT_EQ(folder.read("MXC9.ini"), "[MXC9]\r\nCommPort=4\r\n");
    EXPECT_EQ(settings.RestorePortEntry(), 4);  // the next start tries it again
}

TEST_F(PortSelection, ChoosingOffWritesNothingUntilQuitSavesZero) {
    folder.write("MXC9.ini", "[MXC9]\r\nCommPort=3\r\n");
    EXPECT_FALSE(commands.CommPortCloseUp(0));
    EXPECT_FALSE(commands.CommPortCloseUp(0));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, Message(5));  // "The serial port is disconnected."
    EXPECT_EQ(boxes.shown[1].caption, "Info");
    EXPECT_EQ(boxes.shown[1].icon, MbIcon::Information);
    EXPECT_EQ(folder.read("MXC9.ini"), "[MXC9]\r\nCommPort=3\r\n");
    EXPECT_TRUE(port->calls.size() == 2 && port->calls[0] == "close");

    settings.SaveAppSettings(0);  // quit confirmed with Yes
    EXPECT_EQ(folder.read("MXC9.ini"), "[MXC9]\r\nCommPort=0\r\n");
}

TEST_F(PortSelection, ChoosingTheSamePortAgainClosesReopensAndTellsAgain) {
    folder.write("MXC9.ini", "[Ports]\r\nCOM2=/dev/ttyUSB9\r\n");
    EXPECT_TRUE(commands.CommPortCloseUp(2));
    EXPECT_TRUE(commands.CommPortCloseUp(2));
    EXPECT_EQ(port->calls, (std::vector<std::string>{"close", "settings", "open", "dtr1", "dtr0",
                                                     "close", "settings", "open", "dtr1", "dtr0"}));
    EXPECT_EQ(port->appliedSettings.back().devicePath, "/dev/ttyUSB9");
    EXPECT_EQ(port->appliedSettings.back().bitRate, 1200);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "COM2" + CompletionSuffix());
}

}  // namespace
}  // namespace mxc9
