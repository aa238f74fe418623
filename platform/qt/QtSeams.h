// Qt implementations of the seams used by the window program.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/ProgramFolder.h"
#include "platform/Seams.h"

namespace mxc9 {

class QtMessageBoxes : public IMessageBoxes {
  public:
    void setOwner(QWidget* owner) { owner_ = owner; }
    int show(const std::string& text, const std::string& caption, MbIcon icon,
             MbButtons buttons) override;

  private:
    QPointer<QWidget> owner_;
};

class QtFileDialogs : public IFileDialogs {
  public:
    explicit QtFileDialogs(FileFilterNames names) : names_(std::move(names)) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    std::optional<std::string> openFile(const std::string& proposed) override;
    std::optional<std::string> saveFile(const std::string& proposed) override;

  private:
    QPointer<QWidget> owner_;
    FileFilterNames names_;
};

class SystemClock : public IClock {
  public:
    LocalDate today() const override;
};

// The desktop's documents folder (XDG_DOCUMENTS_DIR of the XDG user directories).
std::string DesktopDocumentsFolder();

class ExecutableFolder : public ProgramFolder {
  public:
    ExecutableFolder() : ProgramFolder(DesktopDocumentsFolder) {}
};

class QtKeyboardState : public IKeyboardState {
  public:
    bool shiftHeld() const override;
};

class QtBrowser : public IBrowser {
  public:
    void openUrl(const std::string& url) override;
};

}  // namespace mxc9
