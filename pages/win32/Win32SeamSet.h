// The Win32 implementations of every seam, owned together by the window program.
#pragma once

#include <windows.h>

#include "common/MessageTable.h"
#include "pages/win32/PageNameDialogWin32.h"
#include "platform/SeamSet.h"
#include "platform/win32/Win32Seams.h"

namespace mxc9 {

struct Win32SeamSet : SeamSet<Win32MessageBoxes, Win32FileDialogs, Win32PageNameDialog, Win32Clock,
                              Win32ProgramFolder, Win32KeyboardState, Win32Browser> {
    Win32SeamSet() : SeamSet(SettingsFileFilterNames()) {}
    // The dialogs and boxes belong to the main window once it exists.
    void setOwner(HWND owner) {
        messages.setOwner(owner);
        files.setOwner(owner);
        pageName.setOwner(owner);
        browser.setOwner(owner);
    }
};

}  // namespace mxc9
