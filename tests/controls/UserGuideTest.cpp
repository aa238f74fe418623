// Which user's guide the information dialog's link opens, and the file URL it opens it by.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/Language.h"
#include "controls/UserGuide.h"
#include "platform/ProgramFolder.h"

namespace mxc9 {
namespace {

namespace fs = std::filesystem;

// An unpacked installation <root>/usr with bin/ and share/mxc9/, and the guide files named.
class Installation {
  public:
    explicit Installation(std::initializer_list<const char*> guides) {
        std::string pattern = (fs::temp_directory_path() / "mxc9-guide-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        fs::create_directories(root_ / "usr/bin");
        fs::create_directories(root_ / "usr/share/mxc9");
        fs::create_directories(docs());
        for (const char* name : guides) std::ofstream(docs() / name) << "guide";
    }
    ~Installation() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    fs::path docs() const { return root_ / "usr/share/doc/mxc9"; }
    ProgramFolder program() const {
        return ProgramFolder({}, [bin = (root_ / "usr/bin/").string()] { return bin; });
    }

  private:
    fs::path root_;
};

TEST(UserGuideTest, InstalledProgramOpensTheInstalledGuideOfItsLanguagePreferringHtml) {
    struct Case {
        std::initializer_list<const char*> installed;
        int language;
        const char* opened;
    };
    const Case cases[] = {
        {{"USER-GUIDE.html", "USER-GUIDE.md", "USER-GUIDE.ja.html", "USER-GUIDE.ja.md"},
         kLanguageEnglish,
         "USER-GUIDE.html"},
        {{"USER-GUIDE.html", "USER-GUIDE.md", "USER-GUIDE.ja.html", "USER-GUIDE.ja.md"},
         kLanguageJapanese,
         "USER-GUIDE.ja.html"},
        // A package built without an HTML renderer holds only the Markdown text.
        {{"USER-GUIDE.md", "USER-GUIDE.ja.md"}, kLanguageEnglish, "USER-GUIDE.md"},
        {{"USER-GUIDE.md", "USER-GUIDE.ja.md"}, kLanguageJapanese, "USER-GUIDE.ja.md"},
    };
    for (const Case& c : cases) {
        const Installation installation(c.installed);
        const ProgramFolder program = installation.program();
        ASSERT_TRUE(program.installed());
        const std::string expected = (installation.docs() / c.opened).string();
        EXPECT_EQ(UserGuidePath(program, c.language), expected);
        EXPECT_EQ(UserGuideUrl(program, c.language), "file://" + expected);
    }
}

TEST(UserGuideTest, ProgramInABuildTreeOpensTheGuideOfTheSourceTree) {
    // This test runs from the build tree, as an uninstalled program does.
    const ProgramFolder program;
    ASSERT_FALSE(program.installed());
    for (const int language : {kLanguageEnglish, kLanguageJapanese}) {
        const fs::path guide = UserGuidePath(program, language);
        EXPECT_EQ(guide.filename(),
                  language == kLanguageJapanese ? "USER-GUIDE.ja.md" : "USER-GUIDE.md");
        EXPECT_EQ(guide.parent_path().filename(), "docs");
        EXPECT_TRUE(fs::is_regular_file(guide)) << guide;
    }
}

TEST(UserGuideTest, FileUrlEncodesEveryByteAUrlWouldReadOtherwise) {
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/share/doc/mxc9/USER-GUIDE.ja.html", "file:///usr/share/doc/mxc9/USER-GUIDE.ja.html"},
        {"/home/a b/x#1?y=%", "file:///home/a%20b/x%231%3Fy%3D%25"},
        {"/tmp/ガイド~_-", "file:///tmp/%E3%82%AC%E3%82%A4%E3%83%89~_-"},
    };
    for (const auto& [path, url] : cases) EXPECT_EQ(FileUrl(path), url) << path;
}

}  // namespace
}  // namespace mxc9
