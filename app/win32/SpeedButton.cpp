#include "app/win32/SpeedButton.h"

#include <array>

namespace mxc9 {

namespace {

const wchar_t* const kClassName = L"MXC9SpeedButton";
constexpr int kGlyphWidth = 24;
constexpr int kGlyphHeight = 16;

struct ButtonState {
    Glyph glyph = Glyph::Write;
    bool hot = false;      // the pointer is over it
    bool pressed = false;  // the left button went down on it and is held
};

ButtonState* StateOf(HWND button) {
    return reinterpret_cast<ButtonState*>(GetWindowLongPtrW(button, GWLP_USERDATA));
}

// Draws the glyph at 1:1 into `dc` at (0, 0) on the given background.
void DrawGlyph(HDC dc, Glyph glyph, COLORREF background) {
    RECT all{0, 0, kGlyphWidth, kGlyphHeight};
    HBRUSH fill = CreateSolidBrush(background);
    FillRect(dc, &all, fill);
    DeleteObject(fill);
    auto arrow = [&](bool right, COLORREF colour) {
        const int tip = right ? 22 : 2, base = right ? 13 : 11, tail = right ? 2 : 22;
        const POINT points[] = {{tail, 5},  {base, 5},  {base, 1}, {tip, 8},
                                {base, 15}, {base, 11}, {tail, 11}};
        HBRUSH brush = CreateSolidBrush(colour);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        Polygon(dc, points, static_cast<int>(std::size(points)));
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
    };
    switch (glyph) {
        case Glyph::Write:
            arrow(true, RGB(220, 40, 40));
            break;
        case Glyph::Read:
            arrow(false, RGB(40, 90, 220));
            break;
        case Glyph::Information: {
            HBRUSH brush = CreateSolidBrush(RGB(40, 90, 220));
            HGDIOBJ oldBrush = SelectObject(dc, brush);
            HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
            Ellipse(dc, 5, 0, 21, 16);
            SelectObject(dc, oldPen);
            SelectObject(dc, oldBrush);
            DeleteObject(brush);
            // The letter i: a dot and a stem, in white pixels.
            RECT dot{12, 3, 14, 5};
            RECT stem{12, 6, 14, 13};
            FillRect(dc, &dot, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            FillRect(dc, &stem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            break;
        }
        case Glyph::Quit: {
            HPEN pen = CreatePen(PS_SOLID, 3, RGB(200, 30, 30));
            HGDIOBJ oldPen = SelectObject(dc, pen);
            MoveToEx(dc, 6, 2, nullptr);
            LineTo(dc, 18, 14);
            MoveToEx(dc, 18, 2, nullptr);
            LineTo(dc, 6, 14);
            SelectObject(dc, oldPen);
            DeleteObject(pen);
            break;
        }
    }
}

// The glyph greyed: every pixel that is not background becomes the disabled text colour.
void GreyGlyph(HDC dc, COLORREF background) {
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    for (int y = 0; y < kGlyphHeight; ++y)
        for (int x = 0; x < kGlyphWidth; ++x)
            if (GetPixel(dc, x, y) != background) SetPixel(dc, x, y, grey);
}

void Paint(HWND button, HDC dc) {
    const ButtonState& state = *StateOf(button);
    RECT client;
    GetClientRect(button, &client);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    HBRUSH faceBrush = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(dc, &client, faceBrush);
    const bool enabled = IsWindowEnabled(button);
    const bool down = enabled && state.pressed && state.hot;
    if (down) {
        DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
    } else if (enabled && (state.hot || state.pressed)) {
        DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    }
    // The glyph scaled by whole screen pixels of its own: each pixel repeated, never
    // blended, so it stays as crisp as at 96 dots per inch.
    HDC art = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kGlyphWidth, kGlyphHeight);
    HGDIOBJ old = SelectObject(art, bitmap);
    DrawGlyph(art, state.glyph, face);
    if (!enabled) GreyGlyph(art, face);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    // The glyph takes the share of the face that it takes at 96 dpi (24 of 33 pixels).
    const int scaledWidth = MulDiv(kGlyphWidth, height, 22);
    const int scaledHeight = MulDiv(kGlyphHeight, height, 22);
    const int shift = down ? 1 : 0;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, (width - scaledWidth) / 2 + shift, (height - scaledHeight) / 2 + shift,
               scaledWidth, scaledHeight, art, 0, 0, kGlyphWidth, kGlyphHeight, SRCCOPY);
    SelectObject(art, old);
    DeleteObject(bitmap);
    DeleteDC(art);
}

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    ButtonState* state = StateOf(button);
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(button, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_NCDESTROY:
            delete state;
            SetWindowLongPtrW(button, GWLP_USERDATA, 0);
            break;
        case WM_MOUSEMOVE: {
            POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT client;
            GetClientRect(button, &client);
            const bool inside = PtInRect(&client, at) != FALSE;
            if (inside != state->hot) {
                state->hot = inside;
                InvalidateRect(button, nullptr, FALSE);
            }
            if (inside) {
                TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button, 0};
                TrackMouseEvent(&track);
            }
            return 0;
        }
        case WM_MOUSELEAVE:
            if (!state->pressed) {
                state->hot = false;
                InvalidateRect(button, nullptr, FALSE);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            state->pressed = true;
            state->hot = true;
            SetCapture(button);
            InvalidateRect(button, nullptr, FALSE);
            return 0;
        case WM_LBUTTONUP: {
            if (!state->pressed) return 0;
            const bool click = state->hot;
            state->pressed = false;
            ReleaseCapture();
            InvalidateRect(button, nullptr, FALSE);
            if (click && IsWindowEnabled(button)) {
                SendMessageW(GetParent(button), WM_COMMAND,
                             MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
            }
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (state->pressed) {
                state->pressed = false;
                InvalidateRect(button, nullptr, FALSE);
            }
            return 0;
        case WM_ENABLE:
            state->pressed = false;
            InvalidateRect(button, nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(button, &paint);
            Paint(button, dc);
            EndPaint(button, &paint);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(button, message, wParam, lParam);
}

}  // namespace

HWND CreateSpeedButton(HWND parent, int id, Glyph glyph, HINSTANCE instance) {
    static const ATOM registered = [instance] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ButtonProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc);
    }();
    (void)registered;
    auto* state = new ButtonState{glyph};
    HWND button =
        CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, state);
    if (!button) delete state;
    return button;
}

}  // namespace mxc9
