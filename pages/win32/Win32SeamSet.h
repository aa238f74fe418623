// The Win32 implementations of every seam, owned together by the window program.
#pragma once

#include <windows.h>

#include "common/MessageTable.h"
#include "pages/win32/PageNameDialogWin32.h"
#include "platform/win32/Win32Seams.h"

namespace mxc9 {

struct Win32SeamSet {
    Win32MessageBoxes messages;
    Win32FileDialogs files{SettingsFileFilterNames()};
    Win32PageNameDialog pageName;
    Win32Clock clock;
    Win32ProgramFolder folder;
    Win32KeyboardState keyboard;
    Win32Browser browser;

    Seams seams() {
        Seams s;
        s.messages = &messages;
        s.files = &files;
        s.pageName = &pageName;
        s.clock = &clock;
        s.programFolder = &folder;
        s.keyboard = &keyboard;
        s.browser = &browser;
        return s;
    }
    // The dialogs and boxes belong to the main window once it exists.
    void setOwner(HWND owner) {
        messages.setOwner(owner);
        files.setOwner(owner);
        pageName.setOwner(owner);
        browser.setOwner(owner);
    }
};

}  // namespace mxc9
