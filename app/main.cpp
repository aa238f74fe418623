// Program entry: the application object, the main window, the message loop.
#include <QScreen>

#include "app/Application.h"
#include "app/ApplicationShell.h"
#include "app/MainForm.h"
#include "app/QtSeamSet.h"
#include "common/MessageTable.h"
#include "controls/InfoDialog.h"
#include "platform/qt/QtUiThread.h"

int main(int argc, char** argv) {
    mxc9::TApplication app(argc, argv);
    mxc9::SetApplicationTitle(mxc9::kApplicationTitle);
    // The serial port component's events run on this thread.
    mxc9::QtUiThread uiThread;
    mxc9::InstallApplicationUiThread(&uiThread);

    mxc9::QtSeamSet seams;
    app.setErrorBoxes(&seams.messages);

    mxc9::TMainForm form(seams.seams());
    seams.setOwner(&form);
    // The information dialog exists from start-up to the end; it is only shown and hidden.
    form.setInfoDialog(new mxc9::TInfoDialog(&seams.browser, &form));
    // Centred on the desktop.
    if (QScreen* screen = app.primaryScreen()) {
        QRect frame = form.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form.move(frame.topLeft());
    }
    form.show();
    return app.exec();
}
