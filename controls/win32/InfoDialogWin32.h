// The modal version-information dialog as a native Win32 dialog: the logo, the program's
// name and version, and the copyright line as a link to the user's guide (in the language
// in use). Laid out at the owner's dots per inch; the logo's pixels are repeated, never
// blended, so the pixel art stays crisp. Created once at start-up and shown again for
// every press of the Information button:
//
//     TInfoDialog info(seams.browser);          // once
//     info.setLinkCaption(Message(17));         // each showing
//     int result = info.exec(mainWindow);       // 1 for "OK" or the link
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "controls/JpegDecoder.h"
#include "controls/win32/ColorBtnWin32.h"
#include "controls/win32/Label2Win32.h"
#include "platform/Seams.h"

namespace mxc9 {

class TInfoDialog {
  public:
    // browser opens the user's guide on a double click of the link; it is not owned and
    // may be null (the dialog then only closes).
    explicit TInfoDialog(IBrowser* browser);
    // The same with another logo picture (JPEG bytes), for tests.
    TInfoDialog(IBrowser* browser, std::span<const std::uint8_t> logoJpeg);
    ~TInfoDialog();
    TInfoDialog(const TInfoDialog&) = delete;
    TInfoDialog& operator=(const TInfoDialog&) = delete;

    // Caption of the link label: the copyright line in the language in use (UTF-8).
    void setLinkCaption(const std::string& utf8);

    // Shows the dialog modally, owned by `owner`: 1 for "OK", Enter or the link, 2
    // (kIdCancel) for the close box. Escape does not close it: it has no Cancel button.
    int exec(HWND owner);

    // Whether the logo picture decoded; when it did not, the dialog shows no logo.
    bool hasLogo() const { return logo_.has_value(); }
    // The page the link opens and names in its hint: a file URL of the user's guide.
    const std::string& linkUrl() const { return linkUrl_; }
    // The dialog's window while it is shown, else nullptr.
    HWND window() const { return window_; }

    // Tests reach the dialog while it runs through this hook (called once it is built,
    // before it is shown).
    void (*onShown)(TInfoDialog& dialog, void* context) = nullptr;
    void* onShownContext = nullptr;

    // Controls of the dialog while it is shown (ColorBtn1 first in the tab order).
    TColorBtn ColorBtn1;
    TLabel2 URL_Label;
    HWND Label1 = nullptr;
    HWND Label2 = nullptr;
    HWND Label3 = nullptr;
    static constexpr int kLabel1Id = 101, kLabel2Id = 102, kLabel3Id = 103, kUrlLabelId = 104;

    // Handlers of the link label.
    void URL_LabelDblClick();
    void URL_LabelMouseEnter(TLabel2* sender);
    void URL_LabelMouseLeave(TLabel2* sender);
    // Whether the link shows its hover look (magenta, underlined).
    bool linkHighlighted() const { return linkHighlighted_; }

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void build(HWND window);
    void fitClientToLink();
    void paintLogo(HDC dc) const;
    void freeFonts();

    IBrowser* browser_;
    std::string linkUrl_;
    std::wstring linkUrlWide_;  // the hint's text, which the tooltip keeps a pointer to
    std::wstring linkCaption_;
    std::optional<RgbImage> logo_;
    std::vector<std::uint32_t> logoPixels_;  // top-down rows of 0x00RRGGBB, as a DIB holds them
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HFONT linkFont_ = nullptr;
    HFONT linkHoverFont_ = nullptr;
    bool linkHighlighted_ = false;
};

}  // namespace mxc9
