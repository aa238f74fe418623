#include "app/Application.h"

#include <QToolTip>
#include <cstdio>
#include <exception>

#include "app/ApplicationShell.h"
#include "app/MainForm.h"

namespace mxc9 {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    UseWindowFontInPopups();
}

void UseWindowFontInPopups() {
    // Pop-up menus, hints and message boxes are windows of their own and do not take the
    // main window's font; without this they show the desktop's font beside it.
    InstallFontSubstitutions();
    const QFont font = WindowFont();
    QApplication::setFont(font, "QMenu");
    QApplication::setFont(font, "QMessageBox");
    QToolTip::setFont(font);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    return DeliverGuarded([&] { return QApplication::notify(receiver, event); }, boxes_);
}

bool DeliverGuarded(const std::function<bool()>& deliver, IMessageBoxes* boxes) {
    std::string message;
    try {
        return deliver();
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "Unknown error";
    }
    if (boxes) {
        ShowDefaultError(*boxes, message);
    } else {
        std::fprintf(stderr, "%s\n", DefaultErrorText(message).c_str());
    }
    return false;
}

}  // namespace mxc9
