#include "app/web/MainForm.h"

#include <emscripten/val.h>

#include "editor/ScrollRequest.h"
#include "platform/Cp932.h"

namespace mxc9 {

namespace {

using emscripten::val;

val View() {
    return val::module_property("view");
}

template <typename T>
val ArrayOf(const T& items) {
    val array = val::array();
    for (const auto& item : items) array.call<void>("push", item);
    return array;
}

}  // namespace

TMainForm::TMainForm() : core_(seams_.seams()) {
    core_.screen().setListener(this);
    core_.editor().setListener(this);
    core_.tabs().setListener(this);
    core_.tabs().append("DATA1");  // the one tab of the window layout
}

TMainForm::~TMainForm() {
    core_.screen().setListener(nullptr);
    core_.editor().setListener(nullptr);
    core_.tabs().setListener(nullptr);
}

void TMainForm::FormCreate() {
    core_.FormCreate(*this);
}

void TMainForm::CommPortCloseUp(int index) {
    portIndex_ = index;
    core_.CommPortCloseUp();
}

namespace {

constexpr int kNeutralBrakeTag = kAverageBarTag + 1;

// The scroll requests a focused scroll bar makes of its keys, as the system's bars do.
int KeyScrollCode(int key) {
    switch (key) {
        case 0x25:  // Left
        case 0x26:  // Up
            return scLineUp;
        case 0x27:  // Right
        case 0x28:  // Down
            return scLineDown;
        case 0x21:  // Page Up
            return scPageUp;
        case 0x22:  // Page Down
            return scPageDown;
        case 0x24:  // Home
            return scTop;
        case 0x23:  // End
            return scBottom;
        default:
            return -1;
    }
}

}  // namespace

int TMainForm::BarScroll(int tag, int scrollCode, int thumb) {
    const ScreenModel& screen = core_.screen();
    if (tag == kNeutralBrakeTag) {
        const int position = ProposedScrollPosition(scrollCode, screen.neutralBrake(), thumb,
                                                    ScrollRange{0, kNeutralBrakeMax, 1, 1});
        core_.NBRK_BARChange(position);
        return core_.screen().neutralBrake();
    }
    if (tag < 0 || tag > kAverageBarTag) return 0;
    const int now = tag == kAverageBarTag ? screen.averageBar() : screen.bar(tag);
    int position = ProposedScrollPosition(scrollCode, now, thumb, ScrollRange{0, 63, 1, 1});
    // Through the core, which takes no edit of a page a transfer holds.
    if (tag == kAverageBarTag) {
        core_.AVG_BARScroll(scrollCode, position);
    } else {
        core_.FRQ_Scroll(tag, scrollCode, position);
    }
    return position;
}

int TMainForm::BarKeyDown(int tag, int key) {
    uint16_t code = static_cast<uint16_t>(key);
    FocusMove move = FocusMove::None;
    if (tag >= 0 && tag < kFrequencyBars) move = core_.editor().FRQ_KeyDown(tag, code);
    const int scroll = KeyScrollCode(code);
    if (code != 0 && scroll >= 0) BarScroll(tag, scroll, 0);
    return move == FocusMove::Previous ? -1 : move == FocusMove::Next ? 1 : 0;
}

void TMainForm::BarKeyUp(int tag) {
    if (tag >= 0 && tag < kFrequencyBars) core_.editor().FRQ_KeyUp(tag);
}

std::optional<std::array<bool, kPageMenuItems>> TMainForm::PopupMenu1Popup() {
    const std::optional<PopupMenuState> state = core_.PopupMenu1Popup();
    if (!state) return std::nullopt;
    std::array<bool, kPageMenuItems> enabled{};
    for (int i = 0; i < kPageMenuItems; ++i)
        enabled[static_cast<size_t>(i)] = ItemEnabled(*state, static_cast<PageMenuItem>(i));
    return enabled;
}

void TMainForm::PopupMenu1Click(int item) {
    // Only an item the menu offered now runs: the page may hand a stale choice.
    const std::optional<std::array<bool, kPageMenuItems>> enabled = PopupMenu1Popup();
    if (item < 0 || item >= kPageMenuItems || !enabled || !(*enabled)[static_cast<size_t>(item)])
        return;
    RunPageMenuItem(core_.pageCommands(), static_cast<PageMenuItem>(item));
}

std::vector<std::string> TMainForm::tabCaptions() {
    std::vector<std::string> captions;
    captions.reserve(core_.tabs().captions().size());
    for (const std::string& caption : core_.tabs().captions())
        captions.push_back(Cp932ToUtf8(caption));
    return captions;
}

void TMainForm::showTitle(const std::string& title) {
    View().call<void>("title", title);
}

void TMainForm::showHints(const std::array<std::string, kSpeedButtons>& hints) {
    View().call<void>("hints", ArrayOf(hints));
}

void TMainForm::showMenuCaptions(const std::array<std::string, kPageMenuItems>& captions) {
    View().call<void>("menuCaptions", ArrayOf(captions));
}

void TMainForm::showBrakeItems(const std::vector<std::string>& items, int index) {
    View().call<void>("brakeItems", ArrayOf(items), index);
}

void TMainForm::showPortIndex(int index) {
    portIndex_ = index;
    View().call<void>("portIndex", index);
}

void TMainForm::showPortDevices(const std::vector<PortEntry>& entries) {
    val list = val::array();
    for (const PortEntry& entry : entries) {
        val item = val::object();
        item.set("portNo", entry.portNo);
        item.set("device", entry.device);
        item.set("details", entry.details);
        list.call<void>("push", item);
    }
    View().call<void>("portDevices", list);
}

void TMainForm::focusTabControl() {
    View().call<void>("focusTabControl");
}

void TMainForm::showTransferBusy(bool busy) {
    View().call<void>("transferBusy", busy);
}

void TMainForm::closeWindow() {
    View().call<void>("closeWindow");
}

void TMainForm::barChanged(int index) {
    View().call<void>("bar", index, core_.screen().bar(index));
}

void TMainForm::averageChanged() {
    View().call<void>("bar", kAverageBarTag, core_.screen().averageBar());
}

void TMainForm::neutralBrakeChanged() {
    View().call<void>("neutralBrake", core_.screen().neutralBrake(),
                      core_.screen().neutralBrakeCaption());
}

void TMainForm::listChanged(ListId list) {
    View().call<void>("list", static_cast<int>(list), core_.screen().listIndex(list));
}

void TMainForm::commentChanged() {
    View().call<void>("comment", core_.CommentText());
}

void TMainForm::gaugeChanged() {
    View().call<void>("gauge");
}

void TMainForm::readoutsChanged() {
    const Readouts& r = core_.editor().readouts();
    View().call<void>("readouts", r.value, r.level, r.name);
}

void TMainForm::tabsChanged() {
    View().call<void>("tabs", ArrayOf(tabCaptions()), core_.tabs().selected());
}

}  // namespace mxc9
