// TColorBtn on Win32: a standard BUTTON made owner-drawn (BS_OWNERDRAW) and subclassed.
// It paints through controls/ColorBtnLayout (background, caption, edge lines, dotted
// focus rectangle), reports the pointer entering and leaving it (TrackMouseEvent), and
// is otherwise the system's push button: clicks, keyboard, default and cancel handling
// in a dialog. The parent forwards WM_DRAWITEM:
//
//     case WM_DRAWITEM:
//         if (TColorBtn::DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/ColorBtnLayout.h"
#include "controls/ColorBtnProperties.h"

namespace mxc9 {

class TColorBtn : public ColorBtnProperties<TColorBtn, COLORREF, std::vector<std::wstring>> {
  public:
    using TNotifyEvent = std::function<void(TColorBtn* sender)>;

    TColorBtn();
    ~TColorBtn();
    TColorBtn(const TColorBtn&) = delete;
    TColorBtn& operator=(const TColorBtn&) = delete;

    // Makes the button's window, a child of `parent` with the control id `id` (IDOK makes
    // it the dialog's default button), at a rectangle in the parent's pixels.
    HWND create(HWND parent, int id, int x, int y, int width, int height,
                const std::wstring& caption, HFONT font);
    HWND handle() const { return window_; }

    // Draws the button when the request is one of a TColorBtn; false otherwise.
    static bool DrawItem(const DRAWITEMSTRUCT& item);
    // The button behind a window, or nullptr.
    static TColorBtn* FromHandle(HWND window);

    // The published properties: ColorBtnProperties.

    // Called, when assigned, as the pointer enters and leaves the button.
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // Whether the button is the active one: the dialog manager's default-button style
    // (the focused button, or the default one while no other button has the focus).
    bool isActive() const { return active_; }
    bool isMouseInside() const { return mouseInside_; }
    // Number of paints so far, for checking that a write repaints or does not.
    int paintCount() const { return paintCount_; }

  private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    friend class ColorBtnProperties<TColorBtn, COLORREF, std::vector<std::wstring>>;
    void propertyChanged();  // a property changed: paint again
    void repaint();
    void paint(const DRAWITEMSTRUCT& item);

    HWND window_ = nullptr;
    bool active_ = false;
    bool mouseInside_ = false;
    int paintCount_ = 0;
};

}  // namespace mxc9
