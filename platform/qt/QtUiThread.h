// The UI-thread seam on the Qt GUI thread: worker threads' calls run there through
// blocking queued calls, and the pumps process the application's events.
#pragma once

#include <QObject>

#include "platform/UiThread.h"

namespace mxc9 {

class QtUiThread : public IUiThread {
  public:
    // Create on the GUI thread.
    QtUiThread();
    ~QtUiThread() override;

    void Send(const std::function<void()>& call) override;
    // Delivers only the calls queued for this seam: no other event of the application
    // runs, so the serial component can release its threads while it closes.
    void DeliverSends() override;
    void ProcessMessages() override;

  private:
    QObject* target_;  // lives on the GUI thread; the calls are queued to it
};

}  // namespace mxc9
