// The UI-thread seam on a Win32 thread: worker threads' calls wait in the seam's own
// queue, and a message posted to a hidden message-only window has the thread deliver
// them. A window message, not a thread message: the modal loops of message boxes, menus
// and dialogs dispatch a window's messages but drop thread messages, and a worker
// waiting in Send must be served there too.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/UiThread.h"

namespace mxc9 {

class Win32UiThread : public IUiThread {
  public:
    // Create on the UI thread.
    Win32UiThread();
    ~Win32UiThread() override;
    Win32UiThread(const Win32UiThread&) = delete;
    Win32UiThread& operator=(const Win32UiThread&) = delete;

    // Dispatches every waiting message (Sends included) and returns when the queue is
    // empty. A WM_QUIT ends it early and is posted again, so the main loop sees it.
    void ProcessMessages() override;

    // A hook the main loop uses too (IsDialogMessage for Tab between the controls): a
    // message it takes (returns true for) is not translated and dispatched.
    void setMessageFilter(std::function<bool(MSG&)> filter) { filter_ = std::move(filter); }
    // Runs the hook on one message; the main loop's GetMessage loop calls this.
    bool filterMessage(MSG& message) { return filter_ && filter_(message); }

    // The hidden window the wake-ups go to.
    HWND wakeWindow() const { return window_; }

  protected:
    bool OnUiThread() const override;
    void Wake() override;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    DWORD threadId_;
    HWND window_ = nullptr;
    std::function<bool(MSG&)> filter_;
};

}  // namespace mxc9
