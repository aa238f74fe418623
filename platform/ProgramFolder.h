// Where the program keeps its application settings file and which folder its file
// dialogs propose, decided by the layout around the executable. An installed program
// never writes into its installation: the settings file is per user and the dialogs
// propose the user's documents folder. Run from anywhere else (the build tree, a folder
// the user copied it into) both stay the program's own folder.
//  - Linux: installed when the program's folder is named bin and ../share/mxc9 stands
//    beside it, wherever that tree was unpacked; the settings file is in
//    $XDG_CONFIG_HOME/mxc9/.
//  - Windows: installed when uninstall.exe stands beside the program, so the installer
//    must leave its uninstaller there (a portable copy and the build tree have none).
//    The settings file is in %APPDATA%\MXC9\ (the roaming application data folder), the
//    dialogs propose the Documents folder.
// Folders end with the system's separator: '/' on Linux, '\' on Windows.
#pragma once

#include <functional>
#include <string>

#include "platform/Seams.h"

namespace mxc9 {

// Whether a program folder (with or without its trailing separator) is the program
// folder of an installation.
bool IsInstalledLayout(const std::string& programFolder);

#ifdef _WIN32
// The user's profile folder.
std::string HomeFolder();
// %APPDATA%\MXC9\, the roaming application data folder asked of the system.
std::string UserSettingsFolder();
#else
// The environment as getenv reads it; tests pass their own.
using EnvironmentLookup = std::function<const char*(const char*)>;
const char* SystemEnvironment(const char* name);

// The user's home folder: $HOME, else the password database's entry; with a trailing '/'.
std::string HomeFolder(const EnvironmentLookup& environment = SystemEnvironment);
// $XDG_CONFIG_HOME/mxc9/ ($XDG_CONFIG_HOME only when it is an absolute path, else
// ~/.config).
std::string UserSettingsFolder(const EnvironmentLookup& environment = SystemEnvironment);
#endif

// The documents folder the system names: Windows' Documents folder; "" on Linux, where
// the desktop names it (platform/qt passes it in).
std::string SystemDocumentsFolder();

// The running executable's folder, asked again at each access.
class ProgramFolder : public IProgramFolder {
  public:
    // documents: the documents folder, asked only for an installed program (the system's
    // own when not given); the home folder stands in when it gives none or one that does
    // not exist. program: where the program file is. userSettings: the per-user folder of
    // an installed program (UserSettingsFolder when not given). Tests place both.
    explicit ProgramFolder(std::function<std::string()> documents = {},
                           std::function<std::string()> program = executableFolder,
                           std::function<std::string()> userSettings = {})
        : documents_(std::move(documents)),
          program_(std::move(program)),
          userSettings_(std::move(userSettings)) {}
    std::string folder() const override { return program_(); }
    bool installed() const override { return IsInstalledLayout(folder()); }
    std::string settingsFolder() const override;
    std::string documentsFolder() const override;

  private:
    std::function<std::string()> documents_;
    std::function<std::string()> program_;
    std::function<std::string()> userSettings_;
};

}  // namespace mxc9
