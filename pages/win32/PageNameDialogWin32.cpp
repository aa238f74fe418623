#include "pages/win32/PageNameDialogWin32.h"

#include <string>

#include "pages/PageNameEdit.h"
#include "pages/PageNameLayout.h"
#include "platform/Cp932.h"
#include "platform/WideText.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Win32Dialog.h"
#include "platform/win32/Win32Fonts.h"

namespace mxc9 {

namespace {

struct DialogState {
    Win32PageNameDialog* owner = nullptr;
    std::wstring prompt;
    std::wstring shown;
    HFONT font = nullptr;
    HWND edit = nullptr;
    std::string previous;  // UTF-8 of what the edit showed before the last change
    bool fitting = false;  // the edit's text is being set here, not typed
    std::wstring accepted;
};

// A rectangle of the 96-dpi layout at `dpi`.
Rect AtDpi(const Rect& r, int dpi) {
    return {ScaleToDpi(r.left, dpi), ScaleToDpi(r.top, dpi), ScaleToDpi(r.width, dpi),
            ScaleToDpi(r.height, dpi)};
}

void BuildControls(HWND dialog, DialogState& state) {
    // Laid out in the pixels of 96 dots per inch, measured in the font as it is there, and
    // then scaled as a whole: the layout's fixed gaps grow with the font.
    const int dpi = DpiOf(dialog);
    HFONT layoutFont = CreateWindowFont(12, false, kLayoutDpi);
    HDC dc = GetDC(dialog);
    HGDIOBJ oldFont = SelectObject(dc, layoutFont);
    const SIZE letters = TextSize(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int w = letters.cx / 52;
    const int h = letters.cy;

    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, oldFont);
    DeleteObject(layoutFont);
    // A one-line edit box with a sunken border, as tall as its font needs.
    const int editHeight = metrics.tmHeight + 8;

    // The prompt wraps at its widest and is as wide as its text otherwise, measured in
    // the font as shown: a font at another size is not exactly a scaled copy.
    state.font = CreateWindowFont(12, false, dpi);
    const int labelMaxWidth = ScaleToDpi(ComputePageNameLayout(w, h, 0, 0).labelMaxWidth, dpi);
    RECT label{0, 0, labelMaxWidth, 0};
    oldFont = SelectObject(dc, state.font);
    DrawTextW(dc, state.prompt.c_str(), static_cast<int>(state.prompt.size()), &label,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    ReleaseDC(dialog, dc);
    const int labelHeight96 = (label.bottom * kLayoutDpi + dpi - 1) / dpi;
    const PageNameLayout layout = ComputePageNameLayout(w, h, labelHeight96, editHeight);

    const Rect prompt{ScaleToDpi(layout.labelLeft, dpi), ScaleToDpi(layout.labelTop, dpi),
                      std::min<int>(label.right, labelMaxWidth), label.bottom};
    const Rect edit = AtDpi(layout.edit, dpi);
    const Rect ok = AtDpi(layout.ok, dpi);
    const Rect cancel = AtDpi(layout.cancel, dpi);
    CreateChild(dialog, L"STATIC", state.prompt, SS_LEFT | SS_NOPREFIX,
                Win32PageNameDialog::kPromptId, prompt.left, prompt.top, prompt.width,
                prompt.height, state.font);
    state.edit =
        CreateChild(dialog, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, Win32PageNameDialog::kEditId,
                    edit.left, edit.top, edit.width, edit.height, state.font, WS_EX_CLIENTEDGE);
    CreateChild(dialog, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, ok.left, ok.top,
                ok.width, ok.height, state.font);
    CreateChild(dialog, L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL, cancel.left,
                cancel.top, cancel.width, cancel.height, state.font);
    SizeClientAndCentre(dialog, ScaleToDpi(layout.clientWidth, dpi),
                        ScaleToDpi(layout.clientHeight, dpi));

    state.fitting = true;
    SetWindowTextW(state.edit, state.shown.c_str());
    state.fitting = false;
    state.previous = WideToUtf8(state.shown);
}

// A change the user made: what cannot be kept is taken back at once, the caret staying
// where it was (or at the end of a shorter text).
void FitEdit(DialogState& state) {
    if (state.fitting) return;
    const std::string text = WideToUtf8(WindowText(state.edit));
    const std::string fitted = FitEditedPageName(text, state.previous);
    if (fitted != text) {
        DWORD caret = 0;
        SendMessageW(state.edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        const std::wstring shown = Utf8ToWide(fitted);
        caret = std::min<DWORD>(caret, static_cast<DWORD>(shown.size()));
        state.fitting = true;
        SetWindowTextW(state.edit, shown.c_str());
        state.fitting = false;
        SendMessageW(state.edit, EM_SETSEL, caret, caret);
    }
    state.previous = fitted;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<DialogState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            BuildControls(dialog, *state);
            SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(state->edit), TRUE);
            SendMessageW(state->edit, EM_SETSEL, 0, -1);
            if (state->owner->onShown) state->owner->onShown(dialog, state->owner->onShownContext);
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            if (!state) break;
            if (LOWORD(wParam) == Win32PageNameDialog::kEditId && HIWORD(wParam) == EN_CHANGE) {
                FitEdit(*state);
                return TRUE;
            }
            if (LOWORD(wParam) == IDOK) {
                state->accepted = WindowText(state->edit);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {  // the Cancel button, Esc and the close box
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

bool Win32PageNameDialog::inputPageName(const std::string& caption, const std::string& prompt,
                                        std::string& name) {
    DialogState state;
    state.owner = this;
    state.prompt = Utf8ToWide(prompt);
    state.shown = Utf8ToWide(Cp932ToUtf8(name));
    const INT_PTR result =
        RunModalDialog(owner_, Utf8ToWide(caption), DialogProc, reinterpret_cast<LPARAM>(&state));
    // The window is gone by now; its font goes with the dialog.
    if (state.font) DeleteObject(state.font);
    if (result != IDOK) return false;
    name = EditedTextToCp932(WideToUtf8(state.accepted), name);
    return true;
}

}  // namespace mxc9
