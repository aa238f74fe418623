// Program entry: the command line, the application object, the main window, the
// message loop.
#include <QScreen>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/ApplicationShell.h"
#include "app/MainForm.h"
#include "app/QtSeamSet.h"
#include "common/MessageTable.h"
#include "controls/InfoDialog.h"
#include "platform/FileAccess.h"
#include "platform/qt/QtUiThread.h"

namespace {

std::vector<std::string> ArgumentsAfterProgram(const QStringList& arguments) {
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
    return args;
}

}  // namespace

int main(int argc, char** argv) {
    // --help and --version answer before Qt starts, so they need no display (the manual
    // page is made from them at build time).
    const mxc9::StartOptions early =
        mxc9::ParseStartArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (early.action == mxc9::StartOptions::Action::Help) {
        std::fputs(mxc9::StartUsage().c_str(), stdout);
        return 0;
    }
    if (early.action == mxc9::StartOptions::Action::Version) {
        std::fputs(mxc9::StartVersion().c_str(), stdout);
        return 0;
    }

    mxc9::TApplication app(argc, argv);
    // The desktop entry's name, so that the desktop shows the window with its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.mxc9"));
    // Parsed again without the options Qt took for itself (-platform and the like).
    const mxc9::StartOptions options =
        mxc9::ParseStartArguments(ArgumentsAfterProgram(app.arguments()));
    if (options.action == mxc9::StartOptions::Action::Refuse) {
        std::fprintf(stderr, "mxc9: %s\nTry 'mxc9 --help'.\n", options.error.c_str());
        return 2;
    }
    // Everything the language decides reads it from here on, the window title included.
    mxc9::SetLanguageIndex(
        mxc9::StartLanguage(options, [](const char* name) { return std::getenv(name); }));
    mxc9::InstallQtTranslations(mxc9::LanguageIndex());

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
    if (!options.file.empty()) {
        // A path that cannot be made absolute is opened as given.
        form.pageCommands().OpenFileAtStart(mxc9::AbsolutePath(options.file));
    }
    // Centred on the desktop.
    if (QScreen* screen = app.primaryScreen()) {
        QRect frame = form.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form.move(frame.topLeft());
    }
    form.show();
    return app.exec();
}
