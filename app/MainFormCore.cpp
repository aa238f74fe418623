#include "app/MainFormCore.h"

#include <algorithm>

#include "app/ApplicationShell.h"
#include "common/DefaultErrorBox.h"
#include "common/MessageTable.h"
#include "platform/Cp932.h"

namespace mxc9 {

const std::array<const char*, kPageMenuItems> kPageMenuItemNames = {
    "PAGE_RENAME", "PAGE_ADD",  "LINER_ADJ",    "FQRESET_MENU", "ATHOR_MENU", "PAGE_OPEN",
    "PAGE_INT",    "PAGE_SAVE", "PAGE_ALLSAVE", "PAGE_EXIT",    "PAGE_DELETE"};

namespace {

// Message-table rows of the speed buttons' hints and of the menu captions.
constexpr int kFirstHintRow = 18;
constexpr int kFirstMenuCaptionRow = 24;

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

bool SeparatorAfter(PageMenuItem item) {
    return item == PageMenuItem::Add || item == PageMenuItem::ValuesReset ||
           item == PageMenuItem::Close;
}

void RunPageMenuItem(PageCommands& commands, PageMenuItem item) {
    using Handler = void (PageCommands::*)();
    static constexpr std::array<Handler, kPageMenuItems> kHandlers = {
        &PageCommands::PAGE_RENAMEClick,  &PageCommands::PAGE_ADDClick,
        &PageCommands::LINER_ADJClick,    &PageCommands::FQRESET_MENUClick,
        &PageCommands::ATHOR_MENUClick,   &PageCommands::PAGE_OPENClick,
        &PageCommands::PAGE_INTClick,     &PageCommands::PAGE_SAVEClick,
        &PageCommands::PAGE_ALLSAVEClick, &PageCommands::PAGE_EXITClick,
        &PageCommands::PAGE_DELETEClick};
    (commands.*kHandlers[static_cast<size_t>(item)])();
}

bool ItemEnabled(const PopupMenuState& state, PageMenuItem item) {
    const std::array<bool, kPageMenuItems> enabled = {
        state.rename,      state.add,   state.linerAdj, state.frequencyReset,
        state.valuesReset, state.open,  state.insert,   state.save,
        state.saveAll,     state.close, state.remove};
    return enabled[static_cast<size_t>(item)];
}

MainFormCore::MainFormCore(const Seams& seams, PortFactory makePort)
    : seams_(seams),
      editor_(screen_, *seams.keyboard),
      pages_(screen_, editor_),
      pageCommands_(std::make_unique<PageCommands>(tabs_, pages_, screen_, editor_,
                                                   editor_.selection(), seams_)),
      appSettings_(*seams_.programFolder, *seams_.messages, seams_.serialDevices),
      makePort_(std::move(makePort)) {}

MainFormCore::~MainFormCore() {
    // The serial port component goes first, closing an open port.
    transfers_.reset();
    link_.reset();
}

void MainFormCore::FormCreate(MainFormView& view) {
    view_ = &view;
    // 1. Title.
    SetApplicationTitle(MainWindowTitle());
    view.showTitle(ApplicationTitle());
    // 2. Hints of the speed buttons.
    std::array<std::string, kSpeedButtons> hints;
    for (int i = 0; i < kSpeedButtons; ++i)
        hints[static_cast<size_t>(i)] = Message(kFirstHintRow + i);
    view.showHints(hints);
    // 3. Captions of the pop-up menu.
    std::array<std::string, kPageMenuItems> captions;
    for (int i = 0; i < kPageMenuItems; ++i)
        captions[static_cast<size_t>(i)] = Message(kFirstMenuCaptionRow + i);
    view.showMenuCaptions(captions);
    // 4. No bar entered yet.
    selection() = SelectionState{};
    // 5. The brake frequency list's 64 entries.
    view.showBrakeItems(ListItems(ListId::Brake), screen_.listIndex(ListId::Brake));
    // 6. The window has collected its frequency bars before this.
    // 7, 8. One record, the default page on screen, and the record equal to the screen.
    pages_.resize(1);
    pages_.InitPage(0);
    pages_.LoadPageToScreen(0);
    pages_.SaveScreenToPage(0);
    // 9. The remembered port; an invalid or missing entry is written back as "OFF".
    view.showPortIndex(appSettings_.RestorePortEntry());
    CommPortDropDown();
    // 10. The dated default file name in the folder the file dialogs propose.
    pageCommands_->setLastFileName(seams_.programFolder->documentsFolder() +
                                   DatedFileName(seams_.clock->today(), "MXC9.mxd"));
    // 11. Both toolkits paint through a back buffer already; nothing to switch on.
    // 12. The serial port component, owned by the window for the whole run.
    link_ = std::make_unique<DeviceLink>(*seams_.messages);
    if (makePort_) {
        link_->CreatePort(makePort_());
    } else {
        link_->CreatePort();
    }
    TransferHooks hooks;
    hooks.focusTabControl = [this] { view_->focusTabControl(); };
    hooks.transferBusy = [this](bool busy) {
        // The page on screen is the one the transfer writes or fills: nothing may change it
        // meanwhile. The buttons that would open a modal box wait too, since the transfer
        // would stop under the box until it closed.
        view_->showTransferBusy(busy);
        pageCommands_->setPageHeld(busy);
    };
    transfers_ = std::make_unique<TransferCommands>(screen_, *link_, *seams_.messages, appSettings_,
                                                    std::move(hooks));
    // 13. A restored port is opened as if the user had just chosen it.
    if (view.portIndex() != 0) CommPortCloseUp();
}

bool MainFormCore::CloseRequested() {
    if (transferRunning()) {
        // Asked when the transfer has ended, not under a box that would hold it.
        closeAfterTransfer_ = true;
        return false;
    }
    return FormClose();
}

bool MainFormCore::FormClose() {
    const int answer =
        seams_.messages->show(Message(0), kCaptionQuit, MbIcon::Question, MbButtons::YesNo);
    if (answer != kIdYes) return false;
    appSettings_.SaveAppSettings(view_ ? view_->portIndex() : 0);
    return true;
}

void MainFormCore::PROGRAM_BTNClick() {
    transfers_->PROGRAM_BTNClick();
    transferEnded();
}

void MainFormCore::READ_BTNClick() {
    transfers_->READ_BTNClick();
    transferEnded();
}

bool MainFormCore::transferRunning() const {
    return transfers_ && transfers_->busy();
}

void MainFormCore::transferEnded() {
    // A close asked for during the transfer asks its question now, after the result.
    if (!closeAfterTransfer_ || transferRunning()) return;
    closeAfterTransfer_ = false;
    view_->closeWindow();
}

void MainFormCore::CommPortCloseUp() {
    transfers_->CommPortCloseUp(view_->portIndex());
}

void MainFormCore::CommPortDropDown() {
    // The machine is looked at again each time, so that an adapter plugged in while the
    // program runs is there without a restart.
    view_->showPortDevices(appSettings_.PortEntries());
}

bool MainFormCore::SelectTab(int index) {
    if (transferRunning() || index < 0 || index >= tabs_.count() || index == tabs_.selected())
        return false;
    TabControl1Changing();  // the change is always allowed
    tabs_.select(index);
    TabControl1Change();
    return true;
}

void MainFormCore::TabControl1Changing() {
    pages_.SaveScreenToPage(tabs_.selected());
}

void MainFormCore::TabControl1Change() {
    pages_.LoadPageToScreen(tabs_.selected());
    editor_.ShowReadouts(selection().focused);
}

std::optional<PopupMenuState> MainFormCore::PopupMenu1Popup() const {
    if (transferRunning()) return std::nullopt;
    return pageCommands_->PopupMenu1Popup();
}

void MainFormCore::FRQ_Scroll(int tag, int scrollCode, int& scrollPos) {
    if (pageHeld()) {
        scrollPos = screen_.bar(tag);
        return;
    }
    editor_.FRQ_Scroll(tag, scrollCode, scrollPos);
}

void MainFormCore::AVG_BARScroll(int scrollCode, int& scrollPos) {
    if (pageHeld()) {
        scrollPos = screen_.averageBar();
        return;
    }
    editor_.AVG_BARScroll(scrollCode, scrollPos);
}

void MainFormCore::NBRK_BARChange(int position) {
    if (pageHeld()) {
        if (position != screen_.neutralBrake() && screen_.listener())
            screen_.listener()->neutralBrakeChanged();
        return;
    }
    screen_.setNeutralBrake(position);
}

void MainFormCore::ListChange(ListId list, int index) {
    if (pageHeld()) {
        if (index != screen_.listIndex(list) && screen_.listener())
            screen_.listener()->listChanged(list);
        return;
    }
    screen_.setListIndex(list, index);
}

std::optional<std::string> MainFormCore::CommentChange(const std::string& typed,
                                                       std::string_view lineBreak) {
    if (pageHeld()) {
        std::string shown = CommentText(lineBreak);
        if (shown == typed) return std::nullopt;
        return shown;
    }
    // The memo shows what a settings file can keep: characters that code page 932
    // cannot hold become '?' as they are typed or pasted.
    std::string kept = ReplaceNonCp932Characters(typed);
    if (kept != typed) return kept;
    // A typed text becomes bytes again line by line: the lines the user did not touch
    // keep the bytes they had.
    const std::string lines = lineBreak == "\n" ? typed : Replaced(typed, lineBreak, "\n");
    screen_.setComment(EditedTextToCp932(Replaced(lines, "\n", "\r\n"), screen_.comment()));
    return std::nullopt;
}

std::string MainFormCore::CommentText(std::string_view lineBreak) const {
    // The comment is CP932 bytes with lines separated by CR LF.
    const std::string lines = Replaced(Cp932ToUtf8(screen_.comment()), "\r\n", "\n");
    return lineBreak == "\n" ? lines : Replaced(lines, "\n", lineBreak);
}

}  // namespace mxc9
