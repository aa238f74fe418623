// Where the program keeps its application settings file and which folder its file
// dialogs propose, decided by the layout around the executable. An installed program
// (its folder is named bin and ../share/mxc9 stands beside it, wherever that tree was
// unpacked) never writes into its installation: the settings file is per user in
// $XDG_CONFIG_HOME/mxc9/ and the dialogs propose the user's documents folder. Run from
// anywhere else (the build tree, a folder the user copied it into) both stay the
// program's own folder.
#pragma once

#include <functional>
#include <string>

#include "platform/Seams.h"

namespace mxc9 {

// Whether a program folder (with or without its trailing '/') is the bin folder of an
// installation.
bool IsInstalledLayout(const std::string& programFolder);

// The environment as getenv reads it; tests pass their own.
using EnvironmentLookup = std::function<const char*(const char*)>;
const char* SystemEnvironment(const char* name);

// The user's home folder: $HOME, else the password database's entry; with a trailing '/'.
std::string HomeFolder(const EnvironmentLookup& environment = SystemEnvironment);
// $XDG_CONFIG_HOME/mxc9/ ($XDG_CONFIG_HOME only when it is an absolute path, else
// ~/.config).
std::string UserSettingsFolder(const EnvironmentLookup& environment = SystemEnvironment);

// The running executable's folder, asked again at each access.
class ProgramFolder : public IProgramFolder {
  public:
    // documents: the desktop's documents folder, asked only for an installed program;
    // the home folder stands in when it gives none or one that does not exist.
    // program: where the program file is (tests place it elsewhere).
    explicit ProgramFolder(std::function<std::string()> documents = {},
                           std::function<std::string()> program = executableFolder)
        : documents_(std::move(documents)), program_(std::move(program)) {}
    std::string folder() const override { return program_(); }
    bool installed() const override { return IsInstalledLayout(folder()); }
    std::string settingsFolder() const override;
    std::string documentsFolder() const override;

  private:
    std::function<std::string()> documents_;
    std::function<std::string()> program_;
};

}  // namespace mxc9
