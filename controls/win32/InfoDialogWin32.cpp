#include "controls/win32/InfoDialogWin32.h"

#include <commctrl.h>

#include <algorithm>

#include "common/Language.h"
#include "common/MessageTable.h"
#include "controls/Logo.h"
#include "controls/UserGuide.h"
#include "platform/WideText.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Win32Dialog.h"
#include "platform/win32/Win32Fonts.h"
#include "platform/win32/Win32Seams.h"

namespace mxc9 {

namespace {

const COLORREF kLinkHoverColor = RGB(0xFF, 0x00, 0xFF);
const COLORREF kLinkColor = RGB(0, 0, 0);
// The client area as laid out at 96 dots per inch; a link caption wider than the logo
// widens it.
const int kClientWidth = 285;
const int kClientHeight = 137;
const int kLinkRightMargin = 12;
const int kFontPixels = 12;

}  // namespace

TInfoDialog::TInfoDialog(IBrowser* browser) : TInfoDialog(browser, LogoJpeg()) {}

TInfoDialog::TInfoDialog(IBrowser* browser, std::span<const std::uint8_t> logoJpeg)
    : browser_(browser),
      linkUrl_(UserGuideUrl(Win32ProgramFolder(), LanguageIndex())),
      linkUrlWide_(Utf8ToWide(linkUrl_)),
      linkCaption_(Utf8ToWide(Message(17))),
      logo_(DecodeJpeg(logoJpeg.data(), logoJpeg.size())) {
    // A damaged picture leaves the space empty; the dialog works all the same.
    if (logo_) {
        logoPixels_.resize(static_cast<size_t>(logo_->width) * logo_->height);
        for (int y = 0; y < logo_->height; ++y)
            for (int x = 0; x < logo_->width; ++x)
                logoPixels_[static_cast<size_t>(y) * logo_->width + x] = logo_->rgbAt(x, y);
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

TInfoDialog::~TInfoDialog() {
    if (window_) DestroyWindow(window_);
    freeFonts();
}

void TInfoDialog::freeFonts() {
    for (HFONT* font : {&font_, &linkFont_, &linkHoverFont_}) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
}

void TInfoDialog::setLinkCaption(const std::string& utf8) {
    linkCaption_ = Utf8ToWide(utf8);
    if (window_) {
        URL_Label.setCaption(linkCaption_);
        fitClientToLink();
    }
}

void TInfoDialog::fitClientToLink() {
    // Sized to its contents: the whole copyright line shows, however long it is.
    const RECT link = URL_Label.bounds();
    const int width = std::max(ScaleToDpi(kClientWidth, dpi_),
                               static_cast<int>(link.right) + ScaleToDpi(kLinkRightMargin, dpi_));
    SizeClientAndCentre(window_, width, ScaleToDpi(kClientHeight, dpi_));
}

int TInfoDialog::exec(HWND owner) {
    linkHighlighted_ = false;
    const INT_PTR result =
        RunModalDialog(owner, L"バージョン情報", DialogProc, reinterpret_cast<LPARAM>(this));
    window_ = nullptr;
    tooltip_ = nullptr;
    Label1 = Label2 = Label3 = nullptr;
    freeFonts();
    return result < 0 ? kIdCancel : static_cast<int>(result);
}

void TInfoDialog::build(HWND window) {
    window_ = window;
    dpi_ = DpiOf(window);
    auto at = [this](int pixels) { return ScaleToDpi(pixels, dpi_); };
    font_ = CreateWindowFont(kFontPixels, false, dpi_);
    LOGFONTW link = WindowFontDescription(kFontPixels, false, dpi_);
    linkFont_ = CreateFontIndirectW(&link);
    link.lfUnderline = TRUE;
    linkHoverFont_ = CreateFontIndirectW(&link);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);

    // Made first so that it is first in the tab order and takes the focus; IDOK makes it
    // the button Enter presses.
    ColorBtn1.create(window, IDOK, at(104), at(112), at(75), at(25), L"OK", font_);

    auto label = [&](int id, int x, int y, const std::wstring& caption) {
        const SIZE size = TextSizeInFont(window, font_, caption);
        return CreateChild(window, L"STATIC", caption, SS_LEFT | SS_NOPREFIX, id, at(x), at(y),
                           size.cx, size.cy, font_);
    };
    Label1 = label(kLabel1Id, 24, 72, L"ProgramName");
    Label2 = label(kLabel2Id, 112, 72, Utf8ToWide(kTitlePrefix));
    Label3 = label(kLabel3Id, 24, 88, L"Copyright");

    URL_Label.create(window, kUrlLabelId, at(112), at(88), linkCaption_, linkFont_);
    URL_Label.setHandCursor(true);
    URL_Label.OnDblClick = [this](TLabel2*) { URL_LabelDblClick(); };
    URL_Label.OnMouseEnter = [this](TLabel2* sender) { URL_LabelMouseEnter(sender); };
    URL_Label.OnMouseLeave = [this](TLabel2* sender) { URL_LabelMouseLeave(sender); };

    // The link's hint: the page it opens.
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tooltip_) {
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(URL_Label.handle());
        tool.lpszText = linkUrlWide_.data();
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, at(600));
    }
    fitClientToLink();
    // Through the dialog manager, which gives the focused button the default-button
    // style (SetFocus alone would leave the button inactive).
    SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ColorBtn1.handle()), TRUE);
}

void TInfoDialog::paintLogo(HDC dc) const {
    if (!logo_) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = logo_->width;
    info.bmiHeader.biHeight = -logo_->height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // Each of the logo's pixels becomes a block of screen pixels, never blended with its
    // neighbours (which would blur its edges into grey ramps).
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, ScaleToDpi(logo_->width, dpi_), ScaleToDpi(logo_->height, dpi_), 0, 0,
                  logo_->width, logo_->height, logoPixels_.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
}

void TInfoDialog::URL_LabelDblClick() {
    if (browser_ != nullptr) browser_->openUrl(linkUrl_);  // its outcome is not examined
    if (window_) EndDialog(window_, 1);
}

void TInfoDialog::URL_LabelMouseEnter(TLabel2*) {
    linkHighlighted_ = true;
    URL_Label.setFont(linkHoverFont_);
}

void TInfoDialog::URL_LabelMouseLeave(TLabel2*) {
    linkHighlighted_ = false;
    URL_Label.setFont(linkFont_);
}

INT_PTR CALLBACK TInfoDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TInfoDialog*>(GetWindowLongPtrW(window, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            self = reinterpret_cast<TInfoDialog*>(lParam);
            SetWindowLongPtrW(window, DWLP_USER, lParam);
            self->build(window);
            if (self->onShown) self->onShown(*self, self->onShownContext);
            return FALSE;  // the focus is on the button
        case WM_PAINT: {
            if (!self) break;
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            self->paintLogo(dc);
            EndPaint(window, &paint);
            return TRUE;
        }
        case WM_DRAWITEM:
            if (TColorBtn::DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_CTLCOLORSTATIC: {
            if (!self) break;
            auto dc = reinterpret_cast<HDC>(wParam);
            const bool link = reinterpret_cast<HWND>(lParam) == self->URL_Label.handle();
            SetTextColor(dc, link && self->linkHighlighted_ ? kLinkHoverColor : kLinkColor);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {  // the button, or Enter
                EndDialog(window, 1);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) return TRUE;  // Escape: no Cancel button
            break;
        case WM_CLOSE:
            // The close box: the cancel result.
            EndDialog(window, kIdCancel);
            return TRUE;
        default:
            break;
    }
    return FALSE;
}

}  // namespace mxc9
