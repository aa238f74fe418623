// The Windows main window's message routing: the window and control procedures, the
// commands and notifications, the focus and the tab order.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "app/win32/ControlIds.h"
#include "app/win32/MainForm.h"
#include "app/win32/MainFormParts.h"
#include "app/win32/SpeedButton.h"
#include "app/win32/WindowColours.h"
#include "common/DefaultErrorBox.h"
#include "common/MessageTable.h"
#include "controls/win32/InfoDialogWin32.h"
#include "controls/win32/ReadoutWin32.h"
#include "editor/FrequencyTable.h"
#include "editor/ScrollRequest.h"
#include "platform/Cp932.h"
#include "platform/WideText.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Win32Dialog.h"
#include "platform/win32/Win32Fonts.h"

namespace mxc9 {

using namespace mainform;

// ---------------------------------------------------------------------------------------
// Messages

LRESULT CALLBACK TMainForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<TMainForm*>(create->lpCreateParams)->window_ = window;
    }
    auto* self = reinterpret_cast<TMainForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || self->closed_) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    try {
        return self->handleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        ShowDefaultError(*self->core_.seams().messages, error.what());
    }
    return 0;
}

LRESULT TMainForm::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_VSCROLL:
        case WM_HSCROLL:
            if (lParam) onScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
            return 0;
        case WM_DRAWITEM:
            onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_MEASUREITEM:
            onMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return reinterpret_cast<LRESULT>(
                onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        case WM_CONTEXTMENU:
            showPopupMenu(reinterpret_cast<HWND>(wParam), lParam);
            return 0;
        case WM_ACTIVATE:
            // Coming back, the control that had the focus has it again: no control is
            // left or entered by a change of the active window.
            if (LOWORD(wParam) != WA_INACTIVE) {
                SetFocus(activeControl_ && IsWindowEnabled(activeControl_) ? activeControl_
                                                                           : TabControl1);
            }
            return 0;
        case WM_SETFOCUS:
            if (activeControl_) SetFocus(activeControl_);
            return 0;
        case WM_MOUSEWHEEL: {
            // The bar under the pointer takes a wheel turn as a click would be taken.
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(window_, &at);
            HWND under =
                ChildWindowFromPointEx(window_, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
            if (under && under != window_ && tagOf(under) >= 0)
                return controlMessage(under, message, wParam, lParam);
            return 0;
        }
        case kMsgPortClosedUp:
            portClosedUpPosted_ = false;
            CommPortCloseUp();
            return 0;
        case kMsgPortListShown:
            placePortList();
            return 0;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            // A high-contrast scheme switched on or off, or its colours changed.
            showColours();
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_DPICHANGED: {
            const int dpi = HIWORD(wParam);
            createFonts(dpi);
            layout(dpi);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            if (core_.CloseRequested()) DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK TMainForm::ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR /*id*/, DWORD_PTR self) {
    auto* form = reinterpret_cast<TMainForm*>(self);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, ControlProc, 1);
    if (form->closed_) return DefSubclassProc(control, message, wParam, lParam);
    try {
        return form->controlMessage(control, message, wParam, lParam);
    } catch (const std::exception& error) {
        ShowDefaultError(*form->core_.seams().messages, error.what());
    }
    return 0;
}

LRESULT TMainForm::controlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const int tag = tagOf(control);
    switch (message) {
        case WM_SETFOCUS: {
            const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
            // The read-only caption has a place in the tab order: its text is selected
            // while it has the focus, so that the focus shows.
            if (control == NBRK_CAP) SendMessageW(NBRK_CAP, EM_SETSEL, 0, -1);
            controlFocused(control);
            return result;
        }
        case WM_KEYDOWN:
            if (control == TabControl1) {
                // A key's change that TCN_SELCHANGING refused still moves Wine's tab
                // control to the new tab, without a TCN_SELCHANGE: it goes back.
                const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
                if (TabCtrl_GetCurSel(TabControl1) != core_.tabs().selected())
                    TabCtrl_SetCurSel(TabControl1, core_.tabs().selected());
                return result;
            }
            if (tag >= 0 && tag < kFrequencyBars) {
                uint16_t key = static_cast<uint16_t>(wParam);
                const FocusMove move = FRQ_KeyDown(tag, key);
                if (key != 0) DefSubclassProc(control, message, key, lParam);
                if (move != FocusMove::None) moveFocus(control, move == FocusMove::Next);
                return 0;
            }
            break;
        case WM_KEYUP:
            if (tag >= 0 && tag < kFrequencyBars) {
                const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
                FRQ_KeyUp(tag);
                return result;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A click takes the focus first, so the bar is entered before it moves.
            if (tag >= 0 && GetFocus() != control) {
                SetFocus(control);
                if (GetFocus() != control) return 0;
            }
            break;
        case WM_MOUSEWHEEL:
            if (tag >= 0) {
                // Each notch is one line request, up for a turn away from the user.
                wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam);
                const int notches = wheelRemainder_ / WHEEL_DELTA;
                wheelRemainder_ -= notches * WHEEL_DELTA;
                if (notches == 0) return 0;
                if (GetFocus() != control) SetFocus(control);
                if (GetFocus() != control) return 0;
                for (int i = 0; i < std::abs(notches); ++i)
                    onScroll(control, notches > 0 ? SB_LINEUP : SB_LINEDOWN);
                return 0;
            }
            if (control == CommPort && !SendMessageW(CommPort, CB_GETDROPPEDSTATE, 0, 0))
                return 0;  // the shown port changes only through the list's closing
            break;
        case WM_CONTEXTMENU:
            if (control != Comment && control != NBRK_CAP) {
                showPopupMenu(control, lParam);
                return 0;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

bool TMainForm::PreTranslateMessage(MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || !window_) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    HWND from = GetFocus();
    if (std::find(tabOrder_.begin(), tabOrder_.end(), from) == tabOrder_.end())
        from = activeControl_;
    moveFocus(from, GetKeyState(VK_SHIFT) >= 0);
    return true;
}

void TMainForm::moveFocus(HWND from, bool forward) {
    const auto at = std::find(tabOrder_.begin(), tabOrder_.end(), from);
    const size_t count = tabOrder_.size();
    size_t index = at == tabOrder_.end() ? 0 : static_cast<size_t>(at - tabOrder_.begin());
    for (size_t step = 0; step < count; ++step) {
        index = forward ? (index + 1) % count : (index + count - 1) % count;
        HWND next = tabOrder_[index];
        if (IsWindowEnabled(next) && IsWindowVisible(next)) {
            SetFocus(next);
            return;
        }
    }
}

void TMainForm::controlFocused(HWND control) {
    if (control == activeControl_) return;
    const int left = tagOf(activeControl_);
    activeControl_ = control;
    if (left >= 0 && left < kFrequencyBars) FRQ_Exit(left);
    const int entered = tagOf(control);
    if (entered >= 0 && entered <= kAverageBarTag) FRQ_Enter(entered);
}

int TMainForm::tagOf(HWND control) const {
    if (!control) return -1;
    if (control == AVG_BAR) return kAverageBarTag;
    const auto at = std::find(FRQ.begin(), FRQ.end(), control);
    return at == FRQ.end() ? -1 : static_cast<int>(at - FRQ.begin());
}

HWND TMainForm::listControl(ListId list) const {
    switch (list) {
        case ListId::Brake:
            return BRK_LIST;
        case ListId::CutVt:
            return CUTVT_LIST;
        case ListId::Response:
            return RES_LIST;
        case ListId::Current:
            return CUR_LIST;
    }
    return nullptr;
}

void TMainForm::onCommand(int id, int code, HWND control) {
    if (id >= kIdFirstMenuItem && id < kIdFirstMenuItem + kPageMenuItems && !control) {
        RunPageMenuItem(core_.pageCommands(), static_cast<PageMenuItem>(id - kIdFirstMenuItem));
        return;
    }
    switch (id) {
        case kIdWrite:
            PROGRAM_BTNClick();
            return;
        case kIdRead:
            READ_BTNClick();
            return;
        case kIdInformation:
            INFO_BTNClick();
            return;
        case kIdQuit:
            EXIT_BTNClick();
            return;
        case kIdPort:
            if (code == CBN_DROPDOWN) {
                CommPortDropDown();
                PostMessageW(window_, kMsgPortListShown, 0, 0);
            }
            // The chosen item is current only once the list has closed. A key that changes
            // the closed list's entry is a choice like one from the open list: the list
            // never shows one port and uses another. (The system reports a choice from
            // the open list as a change too, after the closing or before it.)
            if (code == CBN_CLOSEUP || (code == CBN_SELCHANGE && !portClosedUpPosted_ &&
                                        !SendMessageW(CommPort, CB_GETDROPPEDSTATE, 0, 0))) {
                portClosedUpPosted_ = true;
                PostMessageW(window_, kMsgPortClosedUp, 0, 0);
            }
            return;
        case kIdComment:
            if (code == EN_CHANGE && !settingComment_) CommentChange();
            return;
        default:
            break;
    }
    if (id >= kIdFirstList && id < kIdFirstList + 4 && code == CBN_SELCHANGE) {
        const auto list = static_cast<ListId>(id - kIdFirstList);
        core_.ListChange(list, static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
    }
}

LRESULT TMainForm::onNotify(const NMHDR& header) {
    if (header.hwndFrom != TabControl1) return 0;
    if (header.code == TCN_SELCHANGING) return core_.transferRunning() ? TRUE : FALSE;
    if (header.code == TCN_SELCHANGE) {
        const int index = TabCtrl_GetCurSel(TabControl1);
        if (!core_.SelectTab(index)) TabCtrl_SetCurSel(TabControl1, core_.tabs().selected());
    }
    return 0;
}

void TMainForm::onScroll(HWND bar, int code) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(bar, SB_CTL, &info);
    int position = ProposedScrollPosition(code, info.nPos, info.nTrackPos,
                                          ScrollRange{info.nMin, info.nMax, 1, 1});
    const int tag = tagOf(bar);
    if (tag >= 0 && tag < kFrequencyBars) {
        FRQ_Scroll(tag, code, position);
    } else if (tag == kAverageBarTag) {
        AVG_BARScroll(code, position);
    } else if (bar != NBRK_BAR) {
        return;
    }
    SetScrollPos(bar, SB_CTL, position, TRUE);
    if (bar == NBRK_BAR) NBRK_BARChange();
}

void TMainForm::showPopupMenu(HWND source, LPARAM at) {
    if (core_.transferRunning()) return;
    if (source == Comment || source == NBRK_CAP) return;
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {
        // From the keyboard: at the focused control.
        RECT place;
        GetWindowRect(activeControl_ ? activeControl_ : window_, &place);
        point = {place.left + 4, place.top + 4};
    }
    PopupMenu1Popup();
    TrackPopupMenuEx(PopupMenu1, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y,
                     window_, nullptr);
}

}  // namespace mxc9
