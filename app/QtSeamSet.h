// The Qt implementations of every seam, owned together by the window program.
#pragma once

#include "common/MessageTable.h"
#include "pages/PageNameDialog.h"
#include "platform/SeamSet.h"
#include "platform/qt/QtSeams.h"

namespace mxc9 {

struct QtSeamSet : SeamSet<QtMessageBoxes, QtFileDialogs, PageNameDialog, SystemClock,
                           ExecutableFolder, QtKeyboardState, QtBrowser> {
    QtSeamSet() : SeamSet(SettingsFileFilterNames()) {}
    // The dialogs and boxes belong to the main window once it exists.
    void setOwner(QWidget* owner) {
        messages.setOwner(owner);
        files.setOwner(owner);
        pageName.setOwner(owner);
    }
};

}  // namespace mxc9
