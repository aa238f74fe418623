#include "app/web/WebSeams.h"

#include <emscripten.h>

#include <cstdlib>

#include "platform/Cp932.h"

namespace mxc9 {

namespace {

// clang-format off
EM_ASYNC_JS(int, PageMessageBox, (const char* text, const char* caption, int icon, int yesNo), {
    return await Module.page.messageBox(UTF8ToString(text), UTF8ToString(caption), icon, !!yesNo);
});
// A path in the module's files, or 0 on Cancel; the caller frees it.
EM_ASYNC_JS(char*, PageChooseFile, (const char* proposed, int save, const char* kind), {
    const description = UTF8ToString(kind);
    const path = save ? await Module.files.chooseSave(UTF8ToString(proposed), description)
                      : await Module.files.chooseOpen(UTF8ToString(proposed), description);
    return path === null ? 0 : allocateUTF8(path);
});
// The edited name, or 0 on Cancel; the caller frees it.
EM_ASYNC_JS(char*, PagePageName, (const char* caption, const char* prompt, const char* name), {
    const edited = await Module.page.pageName(UTF8ToString(caption), UTF8ToString(prompt),
                                              UTF8ToString(name));
    return edited === null ? 0 : allocateUTF8(edited);
});
EM_JS(int, PageToday, (), {
    const now = new Date();
    return now.getFullYear() * 10000 + (now.getMonth() + 1) * 100 + now.getDate();
});
EM_JS(int, PageShiftHeld, (), { return Module.page.shiftHeld() ? 1 : 0; });
EM_JS(void, PageOpenUrl, (const char* url), { Module.page.openUrl(UTF8ToString(url)); });
// clang-format on

std::optional<std::string> Taken(char* text) {
    if (!text) return std::nullopt;
    std::string value(text);
    std::free(text);
    return value;
}

}  // namespace

int WebMessageBoxes::show(const std::string& text, const std::string& caption, MbIcon icon,
                          MbButtons buttons) {
    return PageMessageBox(text.c_str(), caption.c_str(), static_cast<int>(icon),
                          buttons == MbButtons::YesNo ? 1 : 0);
}

std::optional<std::string> WebFileDialogs::openFile(const std::string& proposed) {
    return Taken(PageChooseFile(proposed.c_str(), 0, names_.settingsFiles.c_str()));
}

std::optional<std::string> WebFileDialogs::saveFile(const std::string& proposed) {
    return Taken(PageChooseFile(proposed.c_str(), 1, names_.settingsFiles.c_str()));
}

bool WebPageNameDialog::inputPageName(const std::string& caption, const std::string& prompt,
                                      std::string& name) {
    // The page edits UTF-8; the name stays CP932 bytes, converted only for the box.
    const std::optional<std::string> edited =
        Taken(PagePageName(caption.c_str(), prompt.c_str(), Cp932ToUtf8(name).c_str()));
    if (!edited) return false;
    name = EditedTextToCp932(*edited, name);
    return true;
}

LocalDate WebClock::today() const {
    const int date = PageToday();
    return {date / 10000, date / 100 % 100, date % 100};
}

bool WebKeyboard::shiftHeld() const {
    return PageShiftHeld() != 0;
}

void WebBrowser::openUrl(const std::string& url) {
    PageOpenUrl(url.c_str());
}

}  // namespace mxc9
