// How the window program starts: its language and its command line.
#include <gtest/gtest.h>

#include <map>

#include "app/ApplicationShell.h"
#include "common/Language.h"
#include "common/MessageTable.h"

namespace mxc9 {
namespace {

TEST(StartLanguage, LocaleThenOptionChooseTheLanguage) {
    struct Case {
        std::map<std::string, std::string> environment;
        std::vector<std::string> args;
        int language;
    };
    const Case cases[] = {
        {{}, {}, kLanguageEnglish},
        {{{"LANG", "ja_JP.UTF-8"}}, {}, kLanguageJapanese},
        {{{"LANG", "ja"}}, {}, kLanguageJapanese},
        {{{"LANG", "en_US.UTF-8"}}, {}, kLanguageEnglish},
        {{{"LANG", "C"}}, {}, kLanguageEnglish},
        {{{"LANG", "de_DE.UTF-8"}}, {}, kLanguageEnglish},
        {{{"LANG", "jp_JP"}}, {}, kLanguageEnglish},
        {{{"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "en_US.UTF-8"}}, {}, kLanguageJapanese},
        {{{"LC_MESSAGES", "en_GB.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, {}, kLanguageEnglish},
        {{{"LC_ALL", "C.UTF-8"}, {"LC_MESSAGES", "ja_JP.UTF-8"}}, {}, kLanguageEnglish},
        {{{"LC_ALL", "ja_JP.eucJP"}, {"LANG", "en_US.UTF-8"}}, {}, kLanguageJapanese},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "ja_JP.UTF-8"}}, {}, kLanguageJapanese},
        {{{"LANG", "ja_JP.UTF-8"}}, {"--language", "en"}, kLanguageEnglish},
        {{{"LC_ALL", "en_US.UTF-8"}}, {"--language=ja"}, kLanguageJapanese},
        {{}, {"--language", "ja", "a.mxd"}, kLanguageJapanese},
    };
    for (const Case& c : cases) {
        auto lookup = [&c](const char* name) -> const char* {
            auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        const StartOptions options = ParseStartArguments(c.args);
        ASSERT_EQ(options.action, StartOptions::Action::Run);
        std::string shown;
        for (const auto& [name, value] : c.environment) shown += name + "=" + value + " ";
        for (const auto& arg : c.args) shown += arg + " ";
        EXPECT_EQ(StartLanguage(options, lookup), c.language) << shown;
    }
}

TEST(StartArguments, FileLanguageHelpAndRefusals) {
    using Action = StartOptions::Action;
    struct Case {
        std::vector<std::string> args;
        Action action;
        std::string file;
    };
    const Case cases[] = {
        {{}, Action::Run, ""},
        {{"/home/a/set.mxd"}, Action::Run, "/home/a/set.mxd"},
        {{"--", "-dash.mxd"}, Action::Run, "-dash.mxd"},
        {{"set.mxd", "--language", "en"}, Action::Run, "set.mxd"},
        {{"--help"}, Action::Help, ""},
        {{"--bogus", "-h"}, Action::Help, ""},
        {{"--version", "--help"}, Action::Help, ""},
        {{"--language", "fr", "--version"}, Action::Version, ""},
        {{"--language", "fr"}, Action::Refuse, ""},
        {{"--language"}, Action::Refuse, ""},
        {{"--language="}, Action::Refuse, ""},
        {{"-platform"}, Action::Refuse, ""},
        {{"a.mxd", "b.mxd"}, Action::Refuse, "a.mxd"},
        {{""}, Action::Refuse, ""},
        {{"--", "--help"}, Action::Run, "--help"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const auto& arg : c.args) shown += "[" + arg + "] ";
        const StartOptions options = ParseStartArguments(c.args);
        EXPECT_EQ(options.action, c.action) << shown;
        EXPECT_EQ(options.file, c.file) << shown;
        EXPECT_EQ(options.error.empty(), c.action != Action::Refuse) << shown;
    }
}

TEST(StartLanguage, JapaneseTheSystemCannotDrawIsEnglishWithANote) {
    struct Case {
        int wanted;
        bool drawable;
        int language;
        bool note;
    };
    const Case cases[] = {
        {kLanguageJapanese, true, kLanguageJapanese, false},
        {kLanguageJapanese, false, kLanguageEnglish, true},
        {kLanguageEnglish, false, kLanguageEnglish, false},
    };
    for (const Case& c : cases) {
        const DrawableLanguage chosen = ChooseDrawableLanguage(c.wanted, c.drawable);
        EXPECT_EQ(chosen.language, c.language) << c.wanted << c.drawable;
        EXPECT_EQ(chosen.note, c.note ? MessageIn(kLanguageEnglish, kMessageNoJapaneseFont) : "");
    }
}

}  // namespace
}  // namespace mxc9
