#include "platform/win32/Win32Seams.h"

#include <cderr.h>
#include <commdlg.h>
#include <shellapi.h>

#include <string_view>
#include <vector>

#include "platform/WideText.h"

namespace mxc9 {

namespace {

// The filter as the dialogs take it: each entry's name and pattern, each ended by a nul,
// and one more nul at the end.
std::wstring SettingsFileFilter(const FileFilterNames& names) {
    using namespace std::string_literals;
    return Utf8ToWide(names.settingsFiles) + L"\0*.mxd\0"s + Utf8ToWide(names.allFiles) +
           L"\0*.*\0"s;
}

// The longest path the wide-character calls take.
constexpr size_t kLongestPath = 32768;

enum class FileDialogKind { Open, Save };

std::optional<std::string> RunFileDialog(HWND owner, FileDialogKind kind,
                                         const std::string& proposed,
                                         const FileFilterNames& names) {
    const std::wstring filter = SettingsFileFilter(names);
    const ProposedPath split = SplitProposedPath(proposed);
    std::vector<wchar_t> buffer(std::max(kLongestPath, split.file.size() + 1), L'\0');
    for (;;) {
        std::copy(split.file.begin(), split.file.end(), buffer.begin());
        buffer[split.file.size()] = L'\0';
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = owner;
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.lpstrInitialDir = split.folder.empty() ? nullptr : split.folder.c_str();
        // No default extension, no question before an existing file is replaced, and
        // the open dialog takes the name of a file that does not exist: the page commands
        // add ".mxd" themselves, and a missing file opens nothing.
        dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                       OFN_PATHMUSTEXIST | OFN_LONGNAMES;
        const BOOL chosen =
            kind == FileDialogKind::Open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
        if (chosen) return WideToUtf8(buffer.data());
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) return std::nullopt;
        // The first two characters hold the size needed; the dialog is shown again.
        const size_t needed = *reinterpret_cast<const WORD*>(buffer.data()) + 1;
        buffer.assign(std::max(needed, buffer.size() * 2), L'\0');
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexValue(text[i + 1]);
            const int low = HexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                plain += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        plain += text[i];
    }
    return plain;
}

}  // namespace

UINT MessageBoxFlags(MbIcon icon, MbButtons buttons) {
    UINT flags = buttons == MbButtons::YesNo ? MB_YESNO : MB_OK;
    switch (icon) {
        case MbIcon::None:
            break;
        case MbIcon::Information:
            flags |= MB_ICONINFORMATION;
            break;
        case MbIcon::Question:
            flags |= MB_ICONQUESTION;
            break;
        case MbIcon::Warning:
            flags |= MB_ICONWARNING;
            break;
        case MbIcon::Error:
            flags |= MB_ICONERROR;
            break;
    }
    return flags;
}

int Win32MessageBoxes::show(const std::string& text, const std::string& caption, MbIcon icon,
                            MbButtons buttons) {
    // Before the main window exists the box has no owner and stays modal to the task.
    const UINT flags = MessageBoxFlags(icon, buttons) | (owner_ ? 0 : MB_TASKMODAL);
    const int answer =
        MessageBoxW(owner_, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(), flags);
    if (answer == IDYES) return kIdYes;
    if (answer == IDNO) return kIdNo;
    if (answer == IDOK) return kIdOk;
    // A box that could not be shown: No is the safe answer to a question.
    return buttons == MbButtons::YesNo ? kIdNo : kIdOk;
}

ProposedPath SplitProposedPath(const std::string& proposed) {
    const std::wstring path = Utf8ToWide(proposed);
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {L"", path};
    std::wstring folder = path.substr(0, slash);
    // The root keeps its separator: "C:" alone is the current folder of drive C.
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return {folder, path.substr(slash + 1)};
}

std::optional<std::string> Win32FileDialogs::openFile(const std::string& proposed) {
    return RunFileDialog(owner_, FileDialogKind::Open, proposed, names_);
}

std::optional<std::string> Win32FileDialogs::saveFile(const std::string& proposed) {
    return RunFileDialog(owner_, FileDialogKind::Save, proposed, names_);
}

LocalDate Win32Clock::today() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalDate{now.wYear, now.wMonth, now.wDay};
}

bool Win32KeyboardState::shiftHeld() const {
    return GetKeyState(VK_SHIFT) < 0;
}

std::wstring ShellTarget(const std::string& url) {
    constexpr std::string_view kFileScheme = "file://";
    if (url.size() < kFileScheme.size() ||
        CompareStringOrdinal(Utf8ToWide(url.substr(0, kFileScheme.size())).c_str(), -1, L"file://",
                             -1, TRUE) != CSTR_EQUAL)
        return Utf8ToWide(url);
    std::string path = PercentDecoded(std::string_view(url).substr(kFileScheme.size()));
    // file:///C:/folder/file: the drive follows the empty host; file://host/share/file
    // names a share.
    if (path.size() >= 3 && path[0] == '/' && path[2] == ':')
        path.erase(0, 1);
    else if (!path.empty() && path[0] != '/')
        path.insert(0, "//");
    for (char& c : path)
        if (c == '/') c = '\\';
    return Utf8ToWide(path);
}

void Win32Browser::openUrl(const std::string& url) {
    // Its result is not examined: a page that does not open leaves the program as it is.
    ShellExecuteW(owner_, L"open", ShellTarget(url).c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace mxc9
