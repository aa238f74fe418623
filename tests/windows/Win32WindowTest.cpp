// The Windows main window itself, with fake seams and a scripted controller, driven by
// the messages its controls get from the keyboard: tab changes with many pages, the port
// list's keys, and what a transfer holds while it runs.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/win32/ControlIds.h"
#include "app/win32/MainForm.h"
#include "app/win32/WindowColours.h"
#include "common/MessageTable.h"
#include "device/Conversions.h"
#include "device/DeviceLink.h"
#include "editor/FrequencyEditor.h"
#include "editor/FrequencyTable.h"
#include "editor/ScreenModel.h"
#include "pages/SettingsFile.h"
#include "platform/FileAccess.h"
#include "platform/IniFile.h"
#include "platform/WideText.h"
#include "platform/win32/Win32Dialog.h"
#include "platform/win32/Win32Seams.h"
#include "tests/device/ScriptedPort.h"
#include "tests/fakes/FakeSeams.h"
#include "tests/support/TestFiles.h"

namespace mxc9 {
namespace {

using namespace mxc9::testing;

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A key pressed and released on a control, as its window procedure gets it.
void Press(HWND control, WPARAM key) {
    SendMessageW(control, WM_KEYDOWN, key, 1);
    SendMessageW(control, WM_KEYUP, key, 0xC0000001);
    Pump();
}

// Counts the messages that set, add or remove a tab of the tab control.
LRESULT CALLBACK CountTabEdits(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR counter) {
    if (message == TCM_SETITEMW || message == TCM_INSERTITEMW || message == TCM_DELETEITEM)
        ++*reinterpret_cast<int*>(counter);
    return DefSubclassProc(control, message, wParam, lParam);
}

// A picture of `width` x `height` on white, drawn by `paint`; the pixels near `ink`.
int InkPixels(int width, int height, COLORREF ink, const std::function<void(HDC)>& paint) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT box{0, 0, width, height};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    paint(dc);
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF p = GetPixel(dc, x, y);
            if (std::abs(GetRValue(p) - GetRValue(ink)) < 64 &&
                std::abs(GetGValue(p) - GetGValue(ink)) < 64 &&
                std::abs(GetBValue(p) - GetBValue(ink)) < 64)
                ++count;
        }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return count;
}

// The pixels of the system's text colour in what the tab strip paints.
int TabCaptionInk(HWND tabs) {
    RECT box;
    GetClientRect(tabs, &box);
    return InkPixels(box.right, box.bottom, GetSysColor(COLOR_BTNTEXT), [&](HDC dc) {
        SendMessageW(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    });
}

class Win32WindowTest : public ::testing::Test, protected FakeSeamSet<Win32KeyboardState> {
  protected:
    void SetUp() override {
        folder.path = WithTrailingSeparator(MakeTemporaryFolder("mxc9-window"));
        seams = SeamSet::seams();
        seams.serialDevices = &serialDevices;
        form = std::make_unique<TMainForm>(seams, GetModuleHandleW(nullptr), [this] {
            auto made = std::make_unique<AnsweringPort>();
            port = made.get();
            return made;
        });
        form->Show(SW_SHOW);
        Pump();
    }
    void TearDown() override {
        messages.answers.clear();
        form.reset();
        Pump();
    }
    // Pages named P0, P1, ... whose first bar stands at the page's number.
    void openPages(int count) {
        const std::string path = folder.path + "pages.mxd";
        IniFile file(path, IniFile::Start::Empty);
        WritePageCount(file, count);
        for (int k = 0; k < count; ++k) {
            TMXC9Data page = DefaultPage();
            page.freq[0] = k % 64;
            WritePageRecord(file, PageSectionName(k), "P" + std::to_string(k), page);
        }
        file.updateFile();
        ASSERT_TRUE(form->core().pageCommands().OpenFileAtStart(path));
        Pump();
    }
    void choosePortOne() {
        SendMessageW(form->CommPort, CB_SETCURSEL, 1, 0);
        form->CommPortCloseUp();
        ASSERT_TRUE(port && port->isOpen);
    }

    FakeSerialDevices serialDevices;
    Seams seams;
    AnsweringPort* port = nullptr;
    std::unique_ptr<TMainForm> form;
};

TEST_F(Win32WindowTest, ATabChangeWithAThousandPagesTouchesNoTabAndShowsOnePage) {
    openPages(1000);
    ASSERT_EQ(TabCtrl_GetItemCount(form->TabControl1), 1000);
    int edits = 0;
    SetWindowSubclass(form->TabControl1, CountTabEdits, 77, reinterpret_cast<DWORD_PTR>(&edits));
    SetFocus(form->TabControl1);
    for (WPARAM key : {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_LEFT}) Press(form->TabControl1, key);
    RemoveWindowSubclass(form->TabControl1, CountTabEdits, 77);
    EXPECT_EQ(edits, 0);
    EXPECT_EQ(form->core().tabs().selected(), 2);
    EXPECT_EQ(TabCtrl_GetCurSel(form->TabControl1), 2);
    // The bars show the page of the selected tab.
    const int selected = form->core().tabs().selected();
    EXPECT_EQ(GetScrollPos(form->FRQ[0], SB_CTL), selected);
    EXPECT_EQ(form->core().screen().bar(0), selected);
}

TEST_F(Win32WindowTest, AKeyThatChangesTheClosedPortListIsAPortSelection) {
    SetFocus(form->CommPort);
    messages.shown.clear();
    Press(form->CommPort, VK_DOWN);
    EXPECT_EQ(SendMessageW(form->CommPort, CB_GETCURSEL, 0, 0), 1);
    ASSERT_TRUE(port);
    EXPECT_TRUE(port->isOpen) << "the port shown is the port used";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "COM1" + CompletionSuffix());
    Press(form->CommPort, VK_UP);
    EXPECT_FALSE(port->isOpen);
    EXPECT_EQ(messages.shown.back().text, Message(5));
    // A choice from the open list is one port selection, not two.
    messages.shown.clear();
    SendMessageW(form->CommPort, CB_SHOWDROPDOWN, TRUE, 0);
    Pump();
    Press(form->CommPort, VK_DOWN);
    Press(form->CommPort, VK_RETURN);
    EXPECT_EQ(SendMessageW(form->CommPort, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(port->isOpen);
}

TEST_F(Win32WindowTest, AWriteHoldsThePageTheTabStripTheMenuAndTheQuitQuestionUntilItEnds) {
    openPages(2);
    choosePortOne();
    SetFocus(form->FRQ[0]);
    Pump();
    const ScreenModel before = form->core().screen();
    std::vector<int> notHeld;
    bool duringTheWrite = false;
    int inkMeanwhile = 0;
    const int inkBefore = TabCaptionInk(form->TabControl1);
    port->meanwhileAfter = 2;  // while Write waits for the answer to its frame
    port->meanwhile = [&] {
        duringTheWrite = form->core().transferRunning();
        std::vector<HWND> held(form->FRQ.begin(), form->FRQ.end());
        held.insert(held.end(), {form->AVG_BAR, form->NBRK_BAR, form->BRK_LIST, form->CUTVT_LIST,
                                 form->RES_LIST, form->CUR_LIST, form->Comment, form->TabControl1});
        for (HWND control : held)
            if (IsWindowEnabled(control)) notHeld.push_back(GetDlgCtrlID(control));
        inkMeanwhile = TabCaptionInk(form->TabControl1);
        // What the controls' own procedures do with keys, as if they reached them.
        Press(form->FRQ[0], VK_UP);
        Press(form->NBRK_BAR, VK_RIGHT);
        Press(form->CUR_LIST, VK_UP);
        SendMessageW(form->Comment, WM_CHAR, L'x', 1);
        Press(form->TabControl1, VK_RIGHT);
        SendMessageW(form->handle(), WM_COMMAND,
                     kIdFirstMenuItem + static_cast<int>(PageMenuItem::Add), 0);
        SendMessageW(form->handle(), WM_CLOSE, 0, 0);
        Pump();
    };
    messages.shown.clear();
    messages.answers = {kIdNo};  // to the quit question, once it is asked
    SendMessageW(form->handle(), WM_COMMAND, kIdWrite, reinterpret_cast<LPARAM>(form->PROGRAM_BTN));
    Pump();
    ASSERT_TRUE(duringTheWrite) << "the edits came inside the transfer";
    EXPECT_EQ(notHeld, std::vector<int>{});
    // "Completed", then the quit question that waited for it.
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, Message(1));
    EXPECT_EQ(messages.shown[1].text, Message(0));
    // Nothing changed: the page, the tabs, what the controls show.
    const ScreenModel& after = form->core().screen();
    EXPECT_EQ(after.bar(0), before.bar(0));
    EXPECT_EQ(GetScrollPos(form->FRQ[0], SB_CTL), before.bar(0));
    EXPECT_EQ(after.neutralBrake(), before.neutralBrake());
    EXPECT_EQ(GetScrollPos(form->NBRK_BAR, SB_CTL), before.neutralBrake());
    EXPECT_EQ(after.listIndex(ListId::Current), before.listIndex(ListId::Current));
    EXPECT_EQ(SendMessageW(form->CUR_LIST, CB_GETCURSEL, 0, 0), before.listIndex(ListId::Current));
    EXPECT_EQ(after.comment(), before.comment());
    EXPECT_EQ(WideToUtf8(WindowText(form->Comment)), form->core().CommentText("\r\n"));
    EXPECT_EQ(form->core().tabs().count(), 2);
    EXPECT_EQ(form->core().tabs().selected(), 0);
    EXPECT_EQ(TabCtrl_GetCurSel(form->TabControl1), 0);
    // The captions were grey meanwhile, in the text colour before and after.
    EXPECT_LT(inkMeanwhile + 20, inkBefore);
    EXPECT_GE(TabCaptionInk(form->TabControl1), inkBefore);  // and its focus rectangle now
    // Given back, with the focus on the tab strip.
    EXPECT_TRUE(IsWindowEnabled(form->TabControl1));
    EXPECT_TRUE(IsWindowEnabled(form->FRQ[0]));
    EXPECT_EQ(GetFocus(), form->TabControl1);
    Press(form->TabControl1, VK_RIGHT);
    EXPECT_EQ(form->core().tabs().selected(), 1);
}

TEST_F(Win32WindowTest, TheBrakeBarsKeysAndAChosenCurrentLimitReachTheWriteFrame) {
    choosePortOne();
    SetFocus(form->NBRK_BAR);
    for (int i = 0; i < 3; ++i) Press(form->NBRK_BAR, VK_RIGHT);
    EXPECT_EQ(WindowText(form->NBRK_CAP), L"3");
    Press(form->NBRK_BAR, VK_LEFT);
    EXPECT_EQ(WindowText(form->NBRK_CAP), L"2");
    SetFocus(form->CUR_LIST);
    Press(form->CUR_LIST, VK_HOME);  // "40A"
    Press(form->CUR_LIST, VK_DOWN);  // "60A"
    EXPECT_EQ(form->core().screen().listIndex(ListId::Current), 1);
    SendMessageW(form->handle(), WM_COMMAND, kIdWrite, reinterpret_cast<LPARAM>(form->PROGRAM_BTN));
    Pump();
    ASSERT_EQ(messages.shown.back().text, Message(1));  // "Completed"
    const std::string frame = port->sent.back();
    ASSERT_EQ(frame.size(), 44u);
    EXPECT_EQ(static_cast<uint8_t>(frame[0]), 0xD5);
    EXPECT_EQ(static_cast<uint8_t>(frame[1 + kImageNeutralBrake]), NeutralBrakeCode(2));
    EXPECT_EQ(static_cast<uint8_t>(frame[1 + kImageCurrentLimit]), kCurrentLimitCodes[1]);
}

TEST_F(Win32WindowTest, TheReadOnlyBrakeCaptionShowsTheFocusItTakesInTheTabOrder) {
    SetFocus(form->AVG_BAR);
    Pump();
    MSG tab{form->AVG_BAR, WM_KEYDOWN, VK_TAB, 1, 0, {}};
    ASSERT_TRUE(form->PreTranslateMessage(tab));
    Pump();
    ASSERT_EQ(GetFocus(), form->NBRK_CAP);
    DWORD start = 1, end = 0;
    SendMessageW(form->NBRK_CAP, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u) << "\"OFF\" selected";
}

// The width `text` takes in the font the control draws with.
int TextWidth(HWND control, const std::wstring& text, HFONT font = nullptr) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(
        dc, font ? font : reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT box{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return box.right - box.left;
}

TEST_F(Win32WindowTest, EveryReadoutAndListTextFitsItsControlAtEveryResolution) {
    for (int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        if (dpi != 96) {  // the window as it starts, then moved to monitors of more dots
            RECT frame;
            GetWindowRect(form->handle(), &frame);
            SendMessageW(form->handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&frame));
            Pump();
        }
        // The readouts: every code of every bar and of the average bar, inside the
        // panel's sunken edge.
        const HWND panels[] = {form->FRQ_VALUE, form->FRQ_LEVEL, form->FRQ_NAME};
        for (size_t p = 0; p < std::size(panels); ++p) {
            RECT box;
            GetClientRect(panels[p], &box);
            const int room = box.right - box.left - 2 * GetSystemMetrics(SM_CXEDGE);
            int widest = 0;
            std::string widestText;
            for (int index = 0; index <= kAverageBarTag; ++index)
                for (int code = 0; code <= kMaxFrequencyCode; ++code) {
                    const Readouts r = ReadoutsFor(index, code);
                    const std::string& text = p == 0 ? r.value : p == 1 ? r.level : r.name;
                    const int width = TextWidth(panels[p], Utf8ToWide(text));
                    if (width > widest) widest = width, widestText = text;
                }
            EXPECT_LE(widest, room) << "readout " << p << ": \"" << widestText << "\"";
        }
        // The lists' faces: every item beside the drop-down button.
        for (ListId id : {ListId::Brake, ListId::CutVt, ListId::Response, ListId::Current}) {
            const HWND list = GetDlgItem(form->handle(), kIdFirstList + static_cast<int>(id));
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            ASSERT_TRUE(GetComboBoxInfo(list, &info));
            const int right = std::min(info.rcItem.right, info.rcButton.left);
            const int room = right - info.rcItem.left - MulDiv(1, dpi, 96);
            for (const std::string& item : ListItems(id))
                EXPECT_LE(TextWidth(list, Utf8ToWide(item)), room) << item;
        }
        // The neutral brake caption's widest text, inside the box's edge and margins.
        RECT caption;
        SendMessageW(form->NBRK_CAP, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&caption));
        EXPECT_LE(TextWidth(form->NBRK_CAP, L"100"), caption.right - caption.left);
    }
}

TEST_F(Win32WindowTest, TheLabelsAndTheListsAreDrawnBoldThePortLabelIsNot) {
    // The regular window font's ink of a text, against what the control draws of it.
    const HFONT regular = reinterpret_cast<HFONT>(SendMessageW(form->Label35, WM_GETFONT, 0, 0));
    auto check = [&](HWND control, const std::wstring& text, COLORREF ink, bool bold) {
        SCOPED_TRACE(WideToUtf8(text));
        RECT box;
        GetClientRect(control, &box);
        const int shown = InkPixels(box.right, box.bottom, ink, [&](HDC dc) {
            SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        });
        const int plain = InkPixels(box.right + 8, box.bottom, ink, [&](HDC dc) {
            HGDIOBJ old = SelectObject(dc, regular);
            SetTextColor(dc, ink);
            SetBkMode(dc, TRANSPARENT);
            RECT at{0, 0, box.right + 8, box.bottom};
            DrawTextW(dc, text.c_str(), -1, &at, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            SelectObject(dc, old);
        });
        ASSERT_GT(plain, 0);
        if (bold) {
            EXPECT_GE(shown * 5, plain * 6) << shown << " against " << plain;
        } else {
            EXPECT_LT(shown * 5, plain * 6) << shown << " against " << plain;
        }
    };
    for (int id = kIdFirstLabel; id < kIdFirstLabel + 7; ++id) {
        const HWND label = GetDlgItem(form->handle(), id);
        ASSERT_TRUE(label) << id;
        check(label, WindowText(label), RGB(0, 0, 128), true);
    }
    check(form->Label35, L"COMM", GetSysColor(COLOR_BTNTEXT), false);
    // A list face: white text on black, against the regular font's white on white.
    for (HWND list : {form->BRK_LIST, form->CUR_LIST}) {
        const int item = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
        std::wstring text(256, L'\0');
        text.resize(static_cast<size_t>(
            SendMessageW(list, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()))));
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(list, &info);
        const int width = info.rcItem.right - info.rcItem.left;
        const int height = info.rcItem.bottom - info.rcItem.top;
        const int shown = InkPixels(width, height, RGB(255, 255, 255), [&](HDC dc) {
            DRAWITEMSTRUCT draw{};
            draw.CtlType = ODT_COMBOBOX;
            draw.CtlID = static_cast<UINT>(GetDlgCtrlID(list));
            draw.itemID = static_cast<UINT>(item);
            draw.itemAction = ODA_DRAWENTIRE;
            draw.itemState = ODS_COMBOBOXEDIT;
            draw.hwndItem = list;
            draw.hDC = dc;
            draw.rcItem = {0, 0, width, height};
            SendMessageW(form->handle(), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
        });
        const int plain = InkPixels(width + 8, height, RGB(0, 0, 0), [&](HDC dc) {
            HGDIOBJ old = SelectObject(dc, regular);
            SetBkMode(dc, TRANSPARENT);
            RECT at{0, 0, width + 8, height};
            DrawTextW(dc, text.c_str(), -1, &at, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            SelectObject(dc, old);
        });
        EXPECT_GE(shown * 5, plain * 6)
            << WideToUtf8(text) << ": " << shown << " against " << plain;
    }
}

TEST_F(Win32WindowTest, InHighContrastTheWindowsOwnTextsTakeTheSystemsColours) {
    // Pixels of `colour` in what a control paints.
    auto paintedIn = [](HWND control, COLORREF colour) {
        RECT box;
        GetClientRect(control, &box);
        return InkPixels(box.right, box.bottom, colour, [&](HDC dc) {
            SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        });
    };
    const HWND label = GetDlgItem(form->handle(), kIdFirstLabel);
    ASSERT_NE(GetSysColor(COLOR_BTNTEXT), RGB(0, 0, 128));
    ASSERT_NE(GetSysColor(COLOR_WINDOW), RGB(0, 0, 0));
    for (bool contrast : {false, true}) {
        SCOPED_TRACE(contrast ? "high contrast" : "the layout's colours");
        form->highContrast = [contrast] { return contrast; };
        SendMessageW(form->handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        Pump();
        const int navy = paintedIn(label, RGB(0, 0, 128));
        const int systemText = paintedIn(label, GetSysColor(COLOR_BTNTEXT));
        EXPECT_EQ(navy > 20, !contrast);
        EXPECT_EQ(systemText > 20, contrast);
        // The readouts' panels, filled with the field colour.
        RECT panel;
        GetClientRect(form->FRQ_NAME, &panel);
        const int area = panel.right * panel.bottom;
        EXPECT_GT(paintedIn(form->FRQ_NAME, contrast ? GetSysColor(COLOR_WINDOW) : RGB(0, 0, 0)),
                  area / 2);
    }

    // A black scheme set for real, as the high-contrast setting sets it: cyan and yellow
    // text on black (not white, which the pictures start from). Only the setting's on/off
    // comes from the test, since Wine keeps none.
    const int elements[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT,
                            COLOR_3DFACE};
    const COLORREF black[] = {RGB(0, 0, 0), RGB(0, 255, 255), RGB(0, 0, 0), RGB(255, 255, 0),
                              RGB(0, 0, 0)};
    COLORREF before[std::size(elements)];
    for (size_t i = 0; i < std::size(elements); ++i) before[i] = GetSysColor(elements[i]);
    struct Restore {
        int count;
        const int* elements;
        const COLORREF* colours;
        ~Restore() { SetSysColors(count, elements, colours); }
    } restore{static_cast<int>(std::size(elements)), elements, before};
    ASSERT_TRUE(SetSysColors(static_cast<int>(std::size(elements)), elements, black));
    Pump();
    ASSERT_EQ(GetSysColor(COLOR_BTNTEXT), RGB(0, 255, 255));
    openPages(2);
    EXPECT_GT(paintedIn(label, RGB(0, 255, 255)), 20) << "the label's text";
    EXPECT_EQ(paintedIn(label, RGB(0, 0, 128)), 0);
    EXPECT_GT(TabCaptionInk(form->TabControl1), 20) << "the tab captions";
    EXPECT_GT(paintedIn(form->FRQ_NAME, RGB(255, 255, 0)), 10) << "the readout's text";
}

}  // namespace
}  // namespace mxc9
