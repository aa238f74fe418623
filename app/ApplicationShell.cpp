#include "app/ApplicationShell.h"

#include "common/MessageTable.h"

namespace mxc9 {

std::string MainWindowTitle() {
    return std::string(kTitlePrefix) + LanguageCode();
}

StartOptions ParseStartArguments(const std::vector<std::string>& args) {
    StartOptions options;
    auto refuse = [&options](const std::string& error) {
        if (options.action == StartOptions::Action::Run) {
            options.action = StartOptions::Action::Refuse;
            options.error = error;
        }
    };
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            return {StartOptions::Action::Help, std::nullopt, {}, {}};
        }
        if (!optionsEnded && arg == "--version") {
            options.action = StartOptions::Action::Version;
            options.error.clear();
            // --help after it still wins: keep looking.
            continue;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--language" || arg.starts_with("--language="))) {
            std::string value;
            if (arg == "--language") {
                if (i + 1 == args.size()) {
                    refuse("--language needs ja or en");
                    continue;
                }
                value = args[++i];
            } else {
                value = arg.substr(std::string("--language=").size());
            }
            options.language = LanguageFromName(value);
            if (!options.language) refuse("unknown language \"" + value + "\" (ja or en)");
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            refuse("unknown option " + arg);
        } else if (arg.empty()) {
            refuse("empty file name");
        } else if (options.file.empty()) {
            options.file = arg;
        } else {
            refuse("only one settings file can be opened: " + arg);
        }
    }
    return options;
}

int StartLanguage(const StartOptions& options, const EnvironmentLookup& lookup) {
    return options.language.value_or(LanguageFromLocale(lookup));
}

DrawableLanguage ChooseDrawableLanguage(int wanted, bool japaneseDrawable) {
    if (wanted != kLanguageJapanese || japaneseDrawable) return {wanted, {}};
    return {kLanguageEnglish, MessageIn(kLanguageEnglish, kMessageNoJapaneseFont)};
}

std::string StartUsage() {
    return "Usage: mxc9 [--language ja|en] [FILE.mxd]\n"
           "Edits the settings of the MXC-9 motor speed controller as pages of a settings\n"
           "file and writes them to the controller, or reads it back, over a serial line.\n"
           "\n"
           "Options:\n"
           "  FILE.mxd           open this settings file at start, as \"Open\" does\n"
           "  --language ja|en   Japanese or English texts; without it a locale beginning\n"
           "                     \"ja\" (LC_ALL, LC_MESSAGES, then LANG) gives Japanese\n"
           "  -h, --help         show this help and end\n"
           "      --version      show the version and end\n"
           "\n"
           "Qt's own options, such as -platform offscreen, are accepted as well.\n";
}

std::string StartVersion() {
    return std::string("mxc9 (MXC-9 Manager) ") + MXC9_VERSION + "\n";
}

}  // namespace mxc9
