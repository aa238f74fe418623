// The modal page-name dialog as a native Win32 dialog, built at run time: a prompt, an
// edit box holding the name (all of it selected; what the user types is kept as
// pages/PageNameEdit.h says), "OK" as the default button (Enter) and "Cancel" as the
// cancel button (Esc). Laid out from two measures of the window font at the dialog's
// dots per inch, as pages/PageNameLayout.h computes. The name comes and goes as CP932
// bytes: a name the user did not edit comes back with its own bytes.
#pragma once

#include <windows.h>

#include "platform/Seams.h"

namespace mxc9 {

class Win32PageNameDialog : public IPageNameDialog {
  public:
    void setOwner(HWND owner) { owner_ = owner; }
    bool inputPageName(const std::string& caption, const std::string& prompt,
                       std::string& name) override;

    // Tests reach the dialog while it runs through this hook (called once it is built,
    // before it is shown); the window leaves it empty.
    void (*onShown)(HWND dialog, void* context) = nullptr;
    void* onShownContext = nullptr;

    // The controls' identifiers (OK and Cancel are the system's own).
    static constexpr int kPromptId = 100;
    static constexpr int kEditId = 101;

  private:
    HWND owner_ = nullptr;
};

}  // namespace mxc9
