#include "app/Application.h"

#include <QLibraryInfo>
#include <QPointer>
#include <QToolTip>
#include <QTranslator>
#include <cstdio>
#include <exception>

#include "app/ApplicationShell.h"
#include "app/MainForm.h"
#include "common/Language.h"

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

bool InstallQtTranslations(int language) {
    // Owned by the application object, so that it lives as long as the texts it gives.
    static QPointer<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    if (language != kLanguageJapanese) return true;  // Qt's own texts are English
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
    return true;
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
