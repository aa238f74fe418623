#include "app/ApplicationShell.h"

#include "common/MessageTable.h"

namespace mxc9 {
namespace {

std::string& TitleSlot() {
    static std::string title = kApplicationTitle;
    return title;
}

// The code point of the last UTF-8 character of a non-empty text.
char32_t LastCharacter(const std::string& text) {
    size_t start = text.size() - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
    const auto lead = static_cast<unsigned char>(text[start]);
    char32_t value;
    size_t length;
    if (lead < 0x80) {
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        value = lead & 0x1F;
        length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        value = lead & 0x0F;
        length = 3;
    } else {
        value = lead & 0x07;
        length = 4;
    }
    for (size_t i = 1; i < length && start + i < text.size(); ++i)
        value = (value << 6) | (static_cast<unsigned char>(text[start + i]) & 0x3F);
    return value;
}

}  // namespace

const std::string& ApplicationTitle() {
    return TitleSlot();
}

void SetApplicationTitle(const std::string& title) {
    TitleSlot() = title;
}

std::string MainWindowTitle() {
    return std::string(kTitlePrefix) + LanguageCode();
}

std::string DefaultErrorText(const std::string& message) {
    if (!message.empty() && LastCharacter(message) > U'.') return message + ".";
    return message;
}

void ShowDefaultError(IMessageBoxes& boxes, const std::string& message) {
    boxes.show(DefaultErrorText(message), ApplicationTitle(), MbIcon::Error, MbButtons::Ok);
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

std::string StartUsage() {
    return "Usage: mxc9 [--language ja|en] [FILE.mxd]\n"
           "Edits the settings of the MXC-9 motor speed controller as pages of a settings\n"
           "file and writes them to the controller, or reads it back, over a serial line.\n"
           "\n"
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
