#include "device/TransferCommands.h"

#include "common/MessageTable.h"
#include "device/Conversions.h"

namespace mxc9 {

namespace {

constexpr int kBitRate = 1200;
constexpr int kWriteCompletedRow = 1;
constexpr int kWriteFailedRow = 2;
constexpr int kReadCompletedRow = 3;
constexpr int kReadFailedRow = 4;
constexpr int kDisconnectedRow = 5;

}  // namespace

// Marks a transfer for its whole length, whatever way it ends.
class TransferCommands::BusyScope {
  public:
    explicit BusyScope(TransferCommands& owner) : owner_(owner) {
        owner_.busy_ = true;
        if (owner_.hooks_.transferBusy) owner_.hooks_.transferBusy(true);
    }
    ~BusyScope() {
        owner_.busy_ = false;
        if (owner_.hooks_.transferBusy) owner_.hooks_.transferBusy(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    TransferCommands& owner_;
};

TransferCommands::TransferCommands(ScreenModel& screen, DeviceLink& link, IMessageBoxes& messages,
                                   IPortSettings& settings, TransferHooks hooks)
    : screen_(screen),
      link_(link),
      messages_(messages),
      settings_(settings),
      hooks_(std::move(hooks)) {
    link_.setPortPathResolver([&settings](int portNo) { return settings.PortDevicePath(portNo); });
}

bool TransferCommands::PROGRAM_BTNClick() {
    if (busy_) return false;
    bool written = false;
    {
        BusyScope scope(*this);
        int attempts = 1;
        // The pass-through values go back exactly as the controller reports them now.
        if (link_.ReadDevice(attempts)) {
            ScreenToImage(screen_, link_.image());
            attempts = 1;
            written = link_.WriteDevice(attempts);
        }
    }
    messages_.show(Message(written ? kWriteCompletedRow : kWriteFailedRow), kCaptionInfo,
                   written ? MbIcon::Information : MbIcon::Error, MbButtons::Ok);
    return written;
}

bool TransferCommands::READ_BTNClick() {
    if (busy_) return false;
    if (hooks_.focusTabControl) hooks_.focusTabControl();
    bool read = false;
    {
        BusyScope scope(*this);
        int attempts = 1;
        read = link_.ReadDevice(attempts);
    }
    if (!read) {
        messages_.show(Message(kReadFailedRow), kCaptionError, MbIcon::Error, MbButtons::Ok);
        return false;
    }
    ImageToScreen(link_.image(), screen_);
    messages_.show(Message(kReadCompletedRow), kCaptionInfo, MbIcon::Information, MbButtons::Ok);
    return true;
}

bool TransferCommands::CommPortCloseUp(int listIndex) {
    if (busy_) return link_.isOpen();
    link_.ClosePort();
    if (listIndex <= 0 || listIndex >= kPortListEntries) {
        messages_.show(Message(kDisconnectedRow), kCaptionInfo, MbIcon::Information, MbButtons::Ok);
        return false;
    }
    link_.SetupPort(listIndex, kBitRate);
    const bool opened = link_.OpenPort();
    settings_.SaveAppSettings(listIndex);
    return opened;
}

}  // namespace mxc9
