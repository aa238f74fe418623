// Small interfaces behind which the program meets the desktop and the machine:
// message boxes, file dialogs, the page-name dialog, the clock, the program's
// folder, the keyboard state, the browser and the serial devices. Production code gets the Qt
// implementations (platform/qt), tests get scripted fakes (tests/fakes).
#pragma once

#include <optional>
#include <string>

namespace mxc9 {

// Message boxes keep the Windows answer codes: callers compare with them.
enum class MbIcon { None, Information, Question, Warning, Error };
enum class MbButtons { Ok, YesNo };
enum MbResult : int { kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7 };

class IMessageBoxes {
  public:
    virtual ~IMessageBoxes() = default;
    // Shows a modal box owned by the main window; returns kIdOk, kIdYes or kIdNo.
    virtual int show(const std::string& text, const std::string& caption, MbIcon icon,
                     MbButtons buttons) = 0;
};

// The names of the file dialogs' two filter entries, in the language in use: settings
// files (*.mxd), selected when a dialog opens, and all files.
struct FileFilterNames {
    std::string settingsFiles;
    std::string allFiles;
};

// The standard open and save dialogs. Both propose a full path; nullopt is Cancel.
class IFileDialogs {
  public:
    virtual ~IFileDialogs() = default;
    virtual std::optional<std::string> openFile(const std::string& proposed) = 0;
    virtual std::optional<std::string> saveFile(const std::string& proposed) = 0;
};

// The modal page-name dialog: shows name, gives back the edited text and true on OK;
// on Cancel leaves name as it was and gives false.
class IPageNameDialog {
  public:
    virtual ~IPageNameDialog() = default;
    // `caption` and `prompt` are UTF-8; `name` is a page name in CP932 bytes.
    virtual bool inputPageName(const std::string& caption, const std::string& prompt,
                               std::string& name) = 0;
};

struct LocalDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};

class IClock {
  public:
    virtual ~IClock() = default;
    virtual LocalDate today() const = 0;
};

class IProgramFolder {
  public:
    virtual ~IProgramFolder() = default;
    // Folder of the running program file, with its trailing separator.
    virtual std::string folder() const = 0;
    // Whether the program runs from an installation, which it never writes into.
    virtual bool installed() const { return false; }
    // Folder of the application settings file, with its trailing separator.
    virtual std::string settingsFolder() const { return folder(); }
    // Folder that the open and save dialogs propose, with its trailing separator.
    virtual std::string documentsFolder() const { return folder(); }
};

class ISerialDeviceSource;

class IKeyboardState {
  public:
    virtual ~IKeyboardState() = default;
    // Whether Shift is down at this moment (not as reported with an earlier event).
    virtual bool shiftHeld() const = 0;
};

class IBrowser {
  public:
    virtual ~IBrowser() = default;
    virtual void openUrl(const std::string& url) = 0;
};

// The set of seams one main window works with. Pointers are not owned.
struct Seams {
    IMessageBoxes* messages = nullptr;
    IFileDialogs* files = nullptr;
    IPageNameDialog* pageName = nullptr;
    IClock* clock = nullptr;
    IProgramFolder* programFolder = nullptr;
    IKeyboardState* keyboard = nullptr;
    IBrowser* browser = nullptr;
    ISerialDeviceSource* serialDevices = nullptr;  // nullptr: the machine's own
};

// Folder of the running executable (/proc/self/exe on Linux, GetModuleFileNameW on
// Windows), with its trailing separator.
std::string executableFolder();

}  // namespace mxc9
