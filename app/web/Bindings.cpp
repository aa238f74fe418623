// The module's interface to the page (embind): the language of the run, the main window
// with its handlers and what it shows, and the texts the page needs for its own parts
// (the lists' items, the message table, the page-name edit rule).
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <exception>
#include <type_traits>

#include "app/AppSettings.h"
#include "app/ApplicationShell.h"
#include "app/web/MainForm.h"
#include "common/DefaultErrorBox.h"
#include "common/Language.h"
#include "common/MessageTable.h"
#include "pages/PageNameEdit.h"
#include "platform/IniFile.h"

namespace mxc9 {

namespace {

using emscripten::val;

template <typename T>
val ArrayOf(const T& items) {
    val array = val::array();
    for (const auto& item : items) array.call<void>("push", item);
    return array;
}

// Every handler the page calls: an error that leaves it reaches the user in the default
// error box, and the program goes on, as in the desktop windows.
template <auto Handler>
struct Guarded;

// What a handler gives back after an error: nothing, false, 0, or null to the page.
template <typename Result>
Result Fallback() {
    if constexpr (std::is_same_v<Result, emscripten::val>) {
        return emscripten::val::null();
    } else if constexpr (!std::is_void_v<Result>) {
        return Result{};
    }
}

template <typename Result, typename... Args, Result (TMainForm::*Handler)(Args...)>
struct Guarded<Handler> {
    static Result call(TMainForm& form, Args... args) {
        try {
            return (form.*Handler)(args...);
        } catch (const std::exception& error) {
            ShowDefaultError(*form.core().seams().messages, error.what());
        }
        return Fallback<Result>();
    }
};

template <typename Result, typename... Args, Result (*Handler)(TMainForm&, Args...)>
struct Guarded<Handler> {
    static Result call(TMainForm& form, Args... args) {
        try {
            return Handler(form, args...);
        } catch (const std::exception& error) {
            ShowDefaultError(*form.core().seams().messages, error.what());
        }
        return Fallback<Result>();
    }
};

// Before the window: the language for the whole run, from the browser's languages.
void StartProgram(int language) {
    SetLanguageIndex(language);
    SetApplicationTitle(kApplicationTitle);
}

val GaugePixels(TMainForm& form) {
    const SelectionGauge& gauge = form.gauge();
    return val(emscripten::typed_memory_view(
        static_cast<size_t>(SelectionGauge::bytesPerLine() * SelectionGauge::kHeight),
        gauge.data()));
}

val CommentChange(TMainForm& form, const std::string& typed) {
    const std::optional<std::string> kept = form.CommentChange(typed);
    return kept ? val(*kept) : val::null();
}

val MenuState(TMainForm& form) {
    const auto enabled = form.PopupMenu1Popup();
    return enabled ? ArrayOf(*enabled) : val::null();
}

val ReadoutTexts(TMainForm& form) {
    const mxc9::Readouts& r = form.core().editor().readouts();
    return ArrayOf(std::array<std::string, 3>{r.value, r.level, r.name});
}

val Screen(TMainForm& form) {
    const ScreenModel& screen = form.core().screen();
    val state = val::object();
    val bars = val::array();
    for (int k = 0; k < kFrequencyBars; ++k) bars.call<void>("push", screen.bar(k));
    state.set("bars", bars);
    state.set("average", screen.averageBar());
    state.set("neutralBrake", screen.neutralBrake());
    state.set("neutralBrakeCaption", screen.neutralBrakeCaption());
    val lists = val::array();
    for (int l = 0; l < 4; ++l) lists.call<void>("push", screen.listIndex(static_cast<ListId>(l)));
    state.set("lists", lists);
    state.set("comment", form.commentText());
    state.set("tabs", ArrayOf(form.tabCaptions()));
    state.set("selectedTab", form.core().tabs().selected());
    state.set("transferRunning", form.core().transferRunning());
    return state;
}

// The lists' items: 0 brake frequency, 1 cut-off voltage, 2 throttle response, 3 current
// limit; 4 the port list.
val ListTexts(int list) {
    if (list == 4) return ArrayOf(PortListItems());
    return ArrayOf(ListItems(static_cast<ListId>(list)));
}

// A settings file could not be handed to the user's disk: the box a failed save shows.
void ShowWriteError(TMainForm& form, const std::string& name) {
    ShowDefaultError(*form.core().seams().messages, EIniFileError(name).what());
}

}  // namespace

EMSCRIPTEN_BINDINGS(mxc9) {
    using namespace emscripten;
    function("startProgram", &StartProgram);
    function("message", &Message);
    function("listTexts", &ListTexts);
    function("fitEditedPageName", &FitEditedPageName);
    function("titlePrefix", optional_override([] { return std::string(kTitlePrefix); }));
    class_<TMainForm>("MainForm")
        .constructor<>()
        .function("FormCreate", &Guarded<&TMainForm::FormCreate>::call)
        .function("CloseRequested", &Guarded<&TMainForm::CloseRequested>::call)
        .function("PROGRAM_BTNClick", &Guarded<&TMainForm::PROGRAM_BTNClick>::call)
        .function("READ_BTNClick", &Guarded<&TMainForm::READ_BTNClick>::call)
        .function("CommPortDropDown", &Guarded<&TMainForm::CommPortDropDown>::call)
        .function("CommPortCloseUp", &Guarded<&TMainForm::CommPortCloseUp>::call)
        .function("FRQ_Enter", &Guarded<&TMainForm::FRQ_Enter>::call)
        .function("FRQ_Exit", &Guarded<&TMainForm::FRQ_Exit>::call)
        .function("BarScroll", &Guarded<&TMainForm::BarScroll>::call)
        .function("BarKeyDown", &Guarded<&TMainForm::BarKeyDown>::call)
        .function("BarKeyUp", &Guarded<&TMainForm::BarKeyUp>::call)
        .function("NBRK_BARChange", &Guarded<&TMainForm::NBRK_BARChange>::call)
        .function("ListChange", &Guarded<&TMainForm::ListChange>::call)
        .function("CommentChange", &Guarded<&CommentChange>::call)
        .function("TabControl1Change", &Guarded<&TMainForm::TabControl1Change>::call)
        .function("PopupMenu1Popup", &Guarded<&MenuState>::call)
        .function("PopupMenu1Click", &Guarded<&TMainForm::PopupMenu1Click>::call)
        .function("OpenFileAtStart", &Guarded<&TMainForm::OpenFileAtStart>::call)
        .function("showWriteError", &ShowWriteError)
        .function("gaugePixels", &GaugePixels)
        .function("readouts", &ReadoutTexts)
        .function("screen", &Screen);
}

}  // namespace mxc9
