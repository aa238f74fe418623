// The modal page-name dialog, built at run time: a prompt, an edit box holding the name
// (all of it selected; what the user types is kept to 255 bytes in CP932, characters
// that CP932 cannot hold shown as '?' as they are typed), "OK" as the default button and
// "Cancel" as the cancel button. The name comes and goes as CP932 bytes: a name the user
// did not edit comes back with its own bytes, also when it is longer than 255 bytes.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Seams.h"

class QDialog;

namespace mxc9 {

class PageNameDialog : public IPageNameDialog {
  public:
    void setOwner(QWidget* owner) { owner_ = owner; }
    bool inputPageName(const std::string& caption, const std::string& prompt,
                       std::string& name) override;

    // Tests reach the dialog while it runs through this hook (called once it is built,
    // before it is shown); the window leaves it empty.
    void (*onShown)(QDialog& dialog, void* context) = nullptr;
    void* onShownContext = nullptr;

  private:
    QPointer<QWidget> owner_;
};

}  // namespace mxc9
