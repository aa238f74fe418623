// The Windows front end's dialogs and the rules under them: the logo decoded by the
// system's imaging component, the user's guide beside the program and the file URL that
// opens it, the page-name dialog and the information dialog driven by their messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/Language.h"
#include "common/MessageTable.h"
#include "controls/Logo.h"
#include "controls/UserGuide.h"
#include "controls/win32/InfoDialogWin32.h"
#include "pages/win32/PageNameDialogWin32.h"
#include "platform/Cp932.h"
#include "platform/FileAccess.h"
#include "platform/WideText.h"
#include "platform/win32/Win32Seams.h"
#include "tests/fakes/FakeSeams.h"
#include "tests/support/TestFiles.h"

namespace mxc9 {
namespace {

TEST(Win32LogoTest, SystemDecoderGivesTheLogoAsLibjpegDoes) {
    const auto logo = DecodeLogo();
    ASSERT_TRUE(logo.has_value());
    EXPECT_EQ(logo->width, 285);
    EXPECT_EQ(logo->height, 60);
    // Pixels of libjpeg's decode on Linux; decoders may differ by rounding.
    struct Pixel {
        int x, y;
        std::uint32_t rgb;
    };
    const Pixel pixels[] = {
        {0, 0, 0x112049},    {10, 10, 0x0C2647},  {40, 20, 0x1F295C}, {150, 30, 0x263961},
        {284, 59, 0x2868A8}, {100, 50, 0xB6D7FF}, {30, 48, 0xBED5FF}, {200, 45, 0x20538C},
    };
    for (const Pixel& p : pixels) {
        const std::uint32_t got = logo->rgbAt(p.x, p.y);
        for (int shift : {16, 8, 0})
            EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF),
                        static_cast<int>((p.rgb >> shift) & 0xFF), 2)
                << p.x << "," << p.y << " gave " << std::hex << got;
    }
}

TEST(Win32LogoTest, DamagedPictureIsRefused) {
    const auto bytes = LogoJpeg();
    EXPECT_FALSE(DecodeJpeg(bytes.data(), bytes.size() / 2).has_value());
    EXPECT_FALSE(DecodeJpeg(bytes.data() + 2, bytes.size() - 2).has_value());
    EXPECT_FALSE(DecodeJpeg(bytes.data(), 0).has_value());
}

TEST(Win32UserGuideTest, GuideBesideTheProgramElseTheSourceTreesText) {
    const std::string folder = WithTrailingSeparator(testing::MakeTemporaryFolder("mxc9-guide"));
    const ProgramFolder portable({}, [folder] { return folder; });
    for (const int language : {kLanguageEnglish, kLanguageJapanese}) {
        const char* html = language == kLanguageJapanese ? "USER-GUIDE.ja.html" : "USER-GUIDE.html";
        const char* text = language == kLanguageJapanese ? "USER-GUIDE.ja.md" : "USER-GUIDE.md";
        // Without a guide beside it (a build tree): the source tree's text.
        const std::string source = UserGuidePath(portable, language);
        EXPECT_EQ(std::filesystem::path(Utf8ToWide(source)).filename().wstring(), Utf8ToWide(text));
        EXPECT_EQ(KindOfPath(source), PathKind::File) << source;
        // A portable copy with its guides.
        testing::WriteBytes(folder + html, "guide");
        EXPECT_EQ(UserGuidePath(portable, language), folder + html);
    }
    // Installed: the guide beside the program, whatever else there is.
    testing::WriteBytes(folder + "uninstall.exe", "");
    std::filesystem::remove(std::filesystem::path(Utf8ToWide(folder + "USER-GUIDE.html")));
    ASSERT_TRUE(portable.installed());
    EXPECT_EQ(UserGuidePath(portable, kLanguageEnglish), folder + "USER-GUIDE.html");
}

TEST(Win32UserGuideTest, FileUrlOfAWindowsPathOpensThatPathAgain) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Program Files\\MXC9\\USER-GUIDE.ja.html",
         "file:///C:/Program%20Files/MXC9/USER-GUIDE.ja.html"},
        {"D:\\ガイド\\a#b.html", "file:///D:/%E3%82%AC%E3%82%A4%E3%83%89/a%23b.html"},
        {"\\\\server\\share\\x y.md", "file://server/share/x%20y.md"},
    };
    for (const auto& [path, url] : cases) {
        EXPECT_EQ(FileUrl(path), url) << path;
        EXPECT_EQ(ShellTarget(url), Utf8ToWide(path)) << url;
    }
    EXPECT_EQ(ShellTarget("https://example.com/a%20b"), L"https://example.com/a%20b");
}

// Messages put into the dialog's queue as the keyboard and mouse would, before its modal
// loop starts; a timer (which comes when the queue is empty) runs `afterwards`.
struct Script {
    std::vector<std::function<void(HWND dialog)>> steps;
    static inline Script* running = nullptr;
    static inline HWND dialog = nullptr;
    size_t next = 0;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
        if (running->next < running->steps.size()) {
            running->steps[running->next++](dialog);
        } else {
            KillTimer(nullptr, timer);
        }
    }
    void start(HWND shown) {
        running = this;
        dialog = shown;
        SetTimer(nullptr, 0, 30, Tick);
    }
};

void Key(HWND target, UINT key) {
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

void Type(HWND target, const std::wstring& text) {
    for (wchar_t c : text) PostMessageW(target, WM_CHAR, c, 1);
}

TEST(Win32PageNameDialogTest, EnterGivesTheTypedNameInCp932AndEscLeavesTheName) {
    struct Case {
        const wchar_t* typed;
        UINT key;
        bool accepted;
        std::string name;  // UTF-8 afterwards
        std::wstring shown;
    };
    const Case cases[] = {
        {L"表ab", VK_RETURN, true, "表ab", L"表ab"},
        // é has no CP932 code: it shows as '?' at once, and '?' is what is kept.
        {L"xé", VK_RETURN, true, "x?", L"x?"},
        {L"other", VK_ESCAPE, false, "DATA1", L"other"},
    };
    for (const Case& c : cases) {
        Win32PageNameDialog dialog;
        Script script;
        std::wstring shown;
        script.steps = {
            [&](HWND window) { Type(GetDlgItem(window, Win32PageNameDialog::kEditId), c.typed); },
            [&](HWND window) {
                HWND edit = GetDlgItem(window, Win32PageNameDialog::kEditId);
                shown.resize(64);
                shown.resize(GetWindowTextW(edit, shown.data(), 64));
                Key(edit, c.key);
            },
        };
        dialog.onShown = [](HWND shownDialog, void* context) {
            static_cast<Script*>(context)->start(shownDialog);
        };
        dialog.onShownContext = &script;
        std::string name = Utf8ToCp932("DATA1");
        EXPECT_EQ(dialog.inputPageName("Rename", "Input the name of the page.", name), c.accepted);
        EXPECT_EQ(Cp932ToUtf8(name), c.name);
        EXPECT_EQ(shown, c.shown);
    }
}

TEST(Win32InfoDialogTest, LinkHoversAndOpensTheGuideEscapeStaysEnterAndCloseBoxEnd) {
    struct Case {
        const char* how;
        std::function<void(TInfoDialog&)> close;
        int result;
        bool opened;
    };
    const Case cases[] = {
        {"double click on the link",
         [](TInfoDialog& d) {
             PostMessageW(d.URL_Label.handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
         },
         1, true},
        {"Enter", [](TInfoDialog& d) { Key(d.ColorBtn1.handle(), VK_RETURN); }, 1, false},
        {"close box", [](TInfoDialog& d) { PostMessageW(d.window(), WM_SYSCOMMAND, SC_CLOSE, 0); },
         kIdCancel, false},
    };
    for (const Case& c : cases) {
        testing::FakeBrowser browser;
        TInfoDialog info(&browser);
        info.setLinkCaption("© the maker, a copyright line that is wider than the logo is");
        Script script;
        bool hovered = false, leftAgain = false, openAfterEscape = false, active = false;
        int clientWidth = 0;
        script.steps = {
            [&](HWND) {
                PostMessageW(info.URL_Label.handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
                Key(info.ColorBtn1.handle(), VK_ESCAPE);
            },
            [&](HWND window) {
                hovered = info.linkHighlighted();
                openAfterEscape = IsWindow(window) && IsWindowVisible(window);
                active = info.ColorBtn1.isActive();
                RECT client{};
                GetClientRect(window, &client);
                clientWidth = client.right;
                PostMessageW(info.URL_Label.handle(), WM_MOUSELEAVE, 0, 0);
            },
            [&](HWND) {
                leftAgain = !info.linkHighlighted();
                c.close(info);
            },
        };
        info.onShown = [](TInfoDialog& shown, void* context) {
            static_cast<Script*>(context)->start(shown.window());
        };
        info.onShownContext = &script;
        EXPECT_EQ(info.exec(nullptr), c.result) << c.how;
        EXPECT_TRUE(hovered) << c.how;
        EXPECT_TRUE(leftAgain) << c.how;
        EXPECT_TRUE(openAfterEscape) << c.how;
        EXPECT_TRUE(active) << c.how;
        EXPECT_GT(clientWidth, 285) << c.how;  // widened for the long caption (96 dpi)
        EXPECT_EQ(browser.opened,
                  c.opened ? std::vector<std::string>{info.linkUrl()} : std::vector<std::string>{})
            << c.how;
    }
}

TEST(Win32InfoDialogTest, TheCopyrightLineOfEitherLanguageFitsTheDialogsOwnSize) {
    for (const int language : {kLanguageJapanese, kLanguageEnglish}) {
        testing::FakeBrowser browser;
        TInfoDialog info(&browser);
        info.setLinkCaption(MessageIn(language, 17));
        RECT client{}, link{};
        Script script;
        script.steps = {[&](HWND window) {
            GetClientRect(window, &client);
            link = info.URL_Label.bounds();
            Key(info.ColorBtn1.handle(), VK_RETURN);
        }};
        info.onShown = [](TInfoDialog& shown, void* context) {
            static_cast<Script*>(context)->start(shown.window());
        };
        info.onShownContext = &script;
        info.exec(nullptr);
        EXPECT_EQ(client.right, 285) << language;  // at 96 dots per inch
        EXPECT_EQ(client.bottom, 137) << language;
        EXPECT_LT(link.right, client.right) << language;
    }
}

}  // namespace
}  // namespace mxc9
