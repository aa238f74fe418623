// Program entry of the Windows window program: the command line, the main window, the
// information dialog, the message loop.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/ApplicationShell.h"
#include "app/win32/MainForm.h"
#include "common/Language.h"
#include "common/MessageTable.h"
#include "controls/win32/InfoDialogWin32.h"
#include "pages/win32/Win32SeamSet.h"
#include "platform/FileAccess.h"
#include "platform/WideText.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32UiThread.h"

namespace {

// A window program has no console: what it would print goes into a box.
void Tell(const std::string& text, UINT icon) {
    MessageBoxW(nullptr, mxc9::Utf8ToWide(text).c_str(), L"MXC-9 Manager", MB_OK | icon);
}

// The language of the run: --language when given, else the user's Windows display
// language.
int WindowsLanguage(const mxc9::StartOptions& options) {
    if (options.language) return *options.language;
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? mxc9::kLanguageJapanese
                                                                      : mxc9::kLanguageEnglish;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    const mxc9::StartOptions options = mxc9::ParseStartArguments(mxc9::CommandLineArguments());
    switch (options.action) {
        case mxc9::StartOptions::Action::Help:
            Tell(mxc9::StartUsage(), MB_ICONINFORMATION);
            return 0;
        case mxc9::StartOptions::Action::Version:
            Tell(mxc9::StartVersion(), MB_ICONINFORMATION);
            return 0;
        case mxc9::StartOptions::Action::Refuse:
            Tell("mxc9: " + options.error + "\nTry 'mxc9 --help'.", MB_ICONERROR);
            return 2;
        case mxc9::StartOptions::Action::Run:
            break;
    }
    // Everything the language decides reads it from here on, the window title included.
    // Japanese that the system's menus and boxes would draw as boxes is English instead.
    const int wanted = WindowsLanguage(options);
    const mxc9::DrawableLanguage language = mxc9::ChooseDrawableLanguage(
        wanted, wanted != mxc9::kLanguageJapanese || mxc9::SystemFontsDrawJapanese());
    mxc9::SetLanguageIndex(language.language);
    if (!language.note.empty()) Tell(language.note, MB_ICONINFORMATION);
    mxc9::SetApplicationTitle(mxc9::kApplicationTitle);
    // The serial port component's events run on this thread.
    mxc9::Win32UiThread uiThread;
    mxc9::InstallApplicationUiThread(&uiThread);

    mxc9::Win32SeamSet seams;
    try {
        mxc9::TMainForm form(seams.seams(), instance);
        seams.setOwner(form.handle());
        // The information dialog exists from start-up to the end; it is only shown and hidden.
        mxc9::TInfoDialog info(&seams.browser);
        form.setInfoDialog(&info);
        if (!options.file.empty()) {
            // A path that cannot be made absolute is opened as given.
            form.core().pageCommands().OpenFileAtStart(mxc9::AbsolutePath(options.file));
        }
        form.Show(showCommand);
        uiThread.setMessageFilter(
            [&form](MSG& message) { return form.PreTranslateMessage(message); });
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (uiThread.filterMessage(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        uiThread.setMessageFilter({});
        mxc9::InstallApplicationUiThread(nullptr);
        return static_cast<int>(message.wParam);
    } catch (const std::exception& error) {
        mxc9::ShowDefaultError(seams.messages, error.what());
        mxc9::InstallApplicationUiThread(nullptr);
        return 1;
    }
}
