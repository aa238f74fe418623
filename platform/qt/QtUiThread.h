// The UI-thread seam on the Qt GUI thread: worker threads' calls wait in the seam's own
// queue, and a queued call to the GUI thread has its event loop deliver them.
#pragma once

#include <QObject>

#include "platform/UiThread.h"

namespace mxc9 {

class QtUiThread : public IUiThread {
  public:
    // Create on the GUI thread.
    QtUiThread();
    ~QtUiThread() override;

    void ProcessMessages() override;

  protected:
    bool OnUiThread() const override;
    void Wake() override;

  private:
    QObject* target_;  // lives on the GUI thread; the wake-ups are queued to it
};

}  // namespace mxc9
