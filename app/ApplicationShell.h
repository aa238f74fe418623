// The application shell's plain rules: the main window's title and the command line.
// The application title and the default error box it captions live in
// common/DefaultErrorBox.h.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/DefaultErrorBox.h"
#include "common/Language.h"
#include "platform/Seams.h"

namespace mxc9 {

// The main window's title: the title prefix followed directly by the language code.
std::string MainWindowTitle();

// The window program's command line: mxc9 [--language ja|en] [FILE.mxd].
struct StartOptions {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    std::optional<int> language;  // from --language; none: the locale decides
    std::string file;             // settings file to open at start; empty: none
    std::string error;            // what was refused, for Action::Refuse
};

// Parses the arguments after the program name (Qt's own options already taken out).
// --help and --version win over anything refused, so they answer on any command line.
StartOptions ParseStartArguments(const std::vector<std::string>& args);

// The language index of the run: --language when given, otherwise the locale's.
int StartLanguage(const StartOptions& options, const EnvironmentLookup& lookup);

// The language the window runs in: the one asked for, unless it is Japanese and the
// system's own fonts (menus, message boxes) cannot draw Japanese, which would show every
// text as boxes; then English, and `note` says why (empty otherwise).
struct DrawableLanguage {
    int language;
    std::string note;
};
DrawableLanguage ChooseDrawableLanguage(int wanted, bool japaneseDrawable);

// The texts of --help and --version.
std::string StartUsage();
std::string StartVersion();

}  // namespace mxc9
