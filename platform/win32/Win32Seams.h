// Win32 implementations of the seams used by the window program: the system's message
// boxes and file dialogs, its clock, keyboard and shell. The boxes and dialogs belong to
// the owner window once it is set.
#pragma once

#include <windows.h>

#include <string>

#include "platform/ProgramFolder.h"
#include "platform/Seams.h"

namespace mxc9 {

class Win32MessageBoxes : public IMessageBoxes {
  public:
    void setOwner(HWND owner) { owner_ = owner; }
    int show(const std::string& text, const std::string& caption, MbIcon icon,
             MbButtons buttons) override;

  private:
    HWND owner_ = nullptr;
};

// The flags of MessageBoxW for an icon and a set of buttons.
UINT MessageBoxFlags(MbIcon icon, MbButtons buttons);

class Win32FileDialogs : public IFileDialogs {
  public:
    explicit Win32FileDialogs(FileFilterNames names) : names_(std::move(names)) {}
    void setOwner(HWND owner) { owner_ = owner; }
    std::optional<std::string> openFile(const std::string& proposed) override;
    std::optional<std::string> saveFile(const std::string& proposed) override;

  private:
    HWND owner_ = nullptr;
    FileFilterNames names_;
};

// A proposed full path as the file dialogs take it: the folder they open in (without
// its trailing separator; empty when the path names none) and the file name.
struct ProposedPath {
    std::wstring folder;
    std::wstring file;
};
ProposedPath SplitProposedPath(const std::string& proposed);

class Win32Clock : public IClock {
  public:
    LocalDate today() const override;
};

// The program's folder; an installed program proposes the user's Documents folder.
class Win32ProgramFolder : public ProgramFolder {
  public:
    Win32ProgramFolder() : ProgramFolder(SystemDocumentsFolder) {}
};

class Win32KeyboardState : public IKeyboardState {
  public:
    // The state with the message being handled, which is what GetKeyState tells.
    bool shiftHeld() const override;
};

class Win32Browser : public IBrowser {
  public:
    void setOwner(HWND owner) { owner_ = owner; }
    // A web address goes to the browser; a file URL opens the file with the program
    // the system associates with it.
    void openUrl(const std::string& url) override;

  private:
    HWND owner_ = nullptr;
};

// What ShellExecute is given for a URL: the local path of a "file://" URL (percent
// escapes decoded, "/C:/..." made "C:\..."), any other URL as it is.
std::wstring ShellTarget(const std::string& url);

}  // namespace mxc9
