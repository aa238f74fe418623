// The Write and Read buttons and the COM port list of the main window, as plain C++:
// the window calls one of these per event and supplies two hooks.
#pragma once

#include <functional>

#include "device/DeviceLink.h"
#include "device/PortSettings.h"
#include "editor/ScreenModel.h"
#include "platform/Seams.h"

namespace mxc9 {

struct TransferHooks {
    // Moves the keyboard focus to the page tab control (a focused bar leaves its focus).
    std::function<void()> focusTabControl;
    // true while a transfer waits for bytes: Write, Read and the port list are disabled.
    std::function<void(bool busy)> transferBusy;
};

class TransferCommands {
  public:
    // None of the references is owned; all must outlive this object.
    // Points the link's COMn names at the device files the settings give.
    TransferCommands(ScreenModel& screen, DeviceLink& link, IMessageBoxes& messages,
                     IPortSettings& settings, TransferHooks hooks = {});

    void setHooks(TransferHooks hooks) { hooks_ = std::move(hooks); }

    // Write: reads the controller, overwrites what the screen holds, writes the image.
    // Returns whether the controller acknowledged it ("Completed" was shown).
    bool PROGRAM_BTNClick();
    // Read: puts the controller's settings on screen. Returns whether it succeeded.
    bool READ_BTNClick();
    // The port list closed on `listIndex` (0 "OFF", n "COMn"): closes the port, then opens
    // COMn and saves the entry. Returns whether a port is open afterwards.
    bool CommPortCloseUp(int listIndex);

    // A transfer is waiting for bytes; commands that arrive meanwhile are ignored.
    bool busy() const { return busy_; }

  private:
    class BusyScope;

    ScreenModel& screen_;
    DeviceLink& link_;
    IMessageBoxes& messages_;
    IPortSettings& settings_;
    TransferHooks hooks_;
    bool busy_ = false;
};

}  // namespace mxc9
