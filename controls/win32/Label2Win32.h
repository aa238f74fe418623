// TLabel2 on Win32: a STATIC text (SS_NOTIFY, so it sees the mouse) that reports the
// pointer entering and leaving it (TrackMouseEvent) and its own double click, and shows
// the hand cursor when asked. It is as large as its caption in its font.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace mxc9 {

class TLabel2 {
  public:
    using TNotifyEvent = std::function<void(TLabel2* sender)>;

    TLabel2() = default;
    ~TLabel2();
    TLabel2(const TLabel2&) = delete;
    TLabel2& operator=(const TLabel2&) = delete;

    HWND create(HWND parent, int id, int x, int y, const std::wstring& caption, HFONT font);
    HWND handle() const { return window_; }

    // A new caption (or font), the label resized to it.
    void setCaption(const std::wstring& caption);
    void setFont(HFONT font);
    void setHandCursor(bool hand) { handCursor_ = hand; }
    // The label's rectangle in its parent's pixels.
    RECT bounds() const;

    // Called, when assigned, with this label as the sender.
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnDblClick;

    bool isHovered() const { return hovered_; }

  private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void fitToCaption();

    HWND window_ = nullptr;
    bool handCursor_ = false;
    bool hovered_ = false;  // an enter was reported and its leave not yet
};

// The size of a text in a font, as a label of that font needs it.
SIZE TextSizeInFont(HWND window, HFONT font, const std::wstring& text);

}  // namespace mxc9
