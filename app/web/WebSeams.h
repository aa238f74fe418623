// The seams of the browser edition: message boxes, file choosers, the page-name dialog,
// the clock, the keyboard and the browser, each handed to the page (app/web/*.js). The
// modal ones wait for the page's answer while the browser goes on.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/ProgramFolder.h"
#include "platform/SeamSet.h"
#include "platform/Seams.h"

namespace mxc9 {

class WebMessageBoxes : public IMessageBoxes {
  public:
    int show(const std::string& text, const std::string& caption, MbIcon icon,
             MbButtons buttons) override;
};

// The file the user chooses is copied into the module's /files/ folder on its way in;
// one to save is copied out to the user's disk once the command that wrote it is done.
class WebFileDialogs : public IFileDialogs {
  public:
    WebFileDialogs() = default;
    // The pickers name settings files as the desktop dialogs' filter does.
    explicit WebFileDialogs(FileFilterNames names) : names_(std::move(names)) {}
    std::optional<std::string> openFile(const std::string& proposed) override;
    std::optional<std::string> saveFile(const std::string& proposed) override;

  private:
    FileFilterNames names_;
};

class WebPageNameDialog : public IPageNameDialog {
  public:
    bool inputPageName(const std::string& caption, const std::string& prompt,
                       std::string& name) override;
};

class WebClock : public IClock {
  public:
    LocalDate today() const override;
};

class WebKeyboard : public IKeyboardState {
  public:
    bool shiftHeld() const override;
};

class WebBrowser : public IBrowser {
  public:
    void openUrl(const std::string& url) override;
};

// Every seam of the page, with the program's folder of the browser edition.
using WebSeamSet = SeamSet<WebMessageBoxes, WebFileDialogs, WebPageNameDialog, WebClock,
                           ProgramFolder, WebKeyboard, WebBrowser>;

}  // namespace mxc9
