// The application object: a QApplication whose event delivery shows any error that an
// event handler let through in the default error box, and then goes on.
#pragma once

#include <QApplication>
#include <functional>

#include "platform/Seams.h"

namespace mxc9 {

class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv);
    void setErrorBoxes(IMessageBoxes* boxes) { boxes_ = boxes; }
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    IMessageBoxes* boxes_ = nullptr;
};

// Menus, hints and message boxes in the main window's font.
void UseWindowFontInPopups();

// Qt's own texts (the buttons of message boxes and questions, the file dialogs, the edit
// boxes' menus) in the language in use, from the translations installed with Qt (Debian:
// qt6-translations-l10n). Replaces the translation installed before; false when the
// language's translation is missing, and Qt's texts stay English.
bool InstallQtTranslations(int language);

// Runs one event delivery; an exception that leaves it is shown through `boxes` (when
// given) and the delivery counts as not handled.
bool DeliverGuarded(const std::function<bool()>& deliver, IMessageBoxes* boxes);

}  // namespace mxc9
