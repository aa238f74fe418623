// The Qt implementations of every seam, owned together by the window program.
#pragma once

#include "common/MessageTable.h"
#include "pages/PageNameDialog.h"
#include "platform/qt/QtSeams.h"

namespace mxc9 {

struct QtSeamSet {
    QtMessageBoxes messages;
    QtFileDialogs files{SettingsFileFilterNames()};
    PageNameDialog pageName;
    SystemClock clock;
    ExecutableFolder folder;
    QtKeyboardState keyboard;
    QtBrowser browser;

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
    void setOwner(QWidget* owner) {
        messages.setOwner(owner);
        files.setOwner(owner);
        pageName.setOwner(owner);
    }
};

}  // namespace mxc9
