#include "app/MainForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QToolButton>
#include <algorithm>
#include <functional>

#include "app/ApplicationShell.h"
#include "app/MainFormWidgets.h"
#include "common/MessageTable.h"
#include "controls/InfoDialog.h"
#include "editor/FrequencyTable.h"
#include "editor/qt/EditorScrollBar.h"
#include "editor/qt/GaugeImage.h"
#include "platform/Cp932.h"

namespace mxc9 {
namespace {

// The comment is CP932 bytes with lines separated by CR LF; the text widget shows it
// converted, with LF alone. A typed text becomes bytes again line by line: the lines the
// user did not touch keep the bytes they had.
QString ToWidgetText(const std::string& cp932) {
    return Text(Cp932ToUtf8(cp932)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
std::string FromWidgetText(const QString& text, const std::string& before) {
    return EditedTextToCp932(
        QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString(), before);
}

}  // namespace

TMainForm::TMainForm(const Seams& seams, QWidget* parent, PortFactory makePort)
    : QWidget(parent),
      seams_(seams),
      editor_(screen_, *seams.keyboard),
      pages_(screen_, editor_),
      pageCommands_(std::make_unique<PageCommands>(tabs_, pages_, screen_, editor_,
                                                   editor_.selection(), seams_)),
      appSettings_(*seams_.programFolder, *seams_.messages, seams_.serialDevices),
      makePort_(std::move(makePort)) {
    InstallFontSubstitutions();
    buildControls();
    screen_.setListener(this);
    editor_.setListener(this);
    tabs_.setListener(this);
    tabs_.append("DATA1");  // the one tab of the window layout
    FormCreate();
    // The tab strip is first in the tab order and holds the focus when the window opens.
    TabBar->setFocus();
}

TMainForm::~TMainForm() {
    // The serial port component goes first, closing an open port.
    transfers_.reset();
    link_.reset();
    screen_.setListener(nullptr);
    editor_.setListener(nullptr);
    tabs_.setListener(nullptr);
    // The controls outlive this object by the QWidget destructor, which still moves the
    // focus out of them: nothing they report may reach the handlers any more.
    for (EditorScrollBar* bar : findChildren<EditorScrollBar*>()) {
        bar->onEnter = nullptr;
        bar->onExit = nullptr;
        bar->onKeyDown = nullptr;
        bar->onKeyUp = nullptr;
        bar->onScroll = nullptr;
    }
    static_cast<CloseUpComboBox*>(CommPort)->onCloseUp = nullptr;
    static_cast<CloseUpComboBox*>(CommPort)->onDropDown = nullptr;
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}
// ---------------------------------------------------------------------------------------
// Creation and close

void TMainForm::FormCreate() {
    // 1. Title.
    SetApplicationTitle(MainWindowTitle());
    setWindowTitle(Text(ApplicationTitle()));
    // 2. Hints of the speed buttons.
    PROGRAM_BTN->setToolTip(Text(Message(18)));
    READ_BTN->setToolTip(Text(Message(19)));
    INFO_BTN->setToolTip(Text(Message(20)));
    EXIT_BTN->setToolTip(Text(Message(21)));
    // 3. Captions of the pop-up menu.
    const std::pair<QAction*, int> captions[] = {
        {PAGE_RENAME, 24},  {PAGE_ADD, 25},  {LINER_ADJ, 26},  {FQRESET_MENU, 27},
        {ATHOR_MENU, 28},   {PAGE_OPEN, 29}, {PAGE_INT, 30},   {PAGE_SAVE, 31},
        {PAGE_ALLSAVE, 32}, {PAGE_EXIT, 33}, {PAGE_DELETE, 34}};
    for (const auto& [action, row] : captions) action->setText(Text(Message(row)));
    // 4. No bar entered yet.
    selection() = SelectionState{};
    // 5. The brake frequency list's 64 entries.
    BRK_LIST->clear();
    for (const std::string& item : ListItems(ListId::Brake)) BRK_LIST->addItem(Text(item));
    BRK_LIST->setCurrentIndex(screen_.listIndex(ListId::Brake));
    // 6. Collect the frequency bars by name; the tag is the index.
    for (int n = 1; n <= kFrequencyBars; ++n) {
        auto* bar = TabControl1->findChild<EditorScrollBar*>(QStringLiteral("FRQ_%1").arg(n));
        FRQ[static_cast<size_t>(n - 1)] = bar;
        bar->setTag(n - 1);
    }
    // 7, 8. One record, the default page on screen, and the record equal to the screen.
    pages_.resize(1);
    pages_.InitPage(0);
    pages_.LoadPageToScreen(0);
    pages_.SaveScreenToPage(0);
    // 9. The remembered port; an invalid or missing entry is written back as "OFF".
    CommPort->setCurrentIndex(appSettings_.RestorePortEntry());
    CommPortDropDown();
    static_cast<CloseUpComboBox*>(CommPort)->onDropDown = [this] { CommPortDropDown(); };
    // 10. The dated default file name in the folder the file dialogs propose.
    pageCommands_->setLastFileName(seams_.programFolder->documentsFolder() +
                                   DatedFileName(seams_.clock->today(), "MXC9.mxd"));
    // 11. Qt paints every widget through a back buffer already; nothing to switch on.
    // 12. The serial port component, owned by the window for the whole run.
    link_ = std::make_unique<DeviceLink>(*seams_.messages);
    if (makePort_) {
        link_->CreatePort(makePort_());
    } else {
        link_->CreatePort();
    }
    TransferHooks hooks;
    hooks.focusTabControl = [this] { TabBar->setFocus(Qt::OtherFocusReason); };
    hooks.transferBusy = [this](bool busy) {
        // The page on screen is the one the transfer writes or fills: nothing may change it
        // meanwhile. The buttons that would open a modal box wait too, since the transfer
        // would stop under the box until it closed.
        for (QWidget* control :
             std::initializer_list<QWidget*>{PROGRAM_BTN, READ_BTN, CommPort, INFO_BTN, EXIT_BTN})
            control->setEnabled(!busy);
        TabBar->setSelectable(!busy);
        pageCommands_->setPageHeld(busy);
    };
    transfers_ = std::make_unique<TransferCommands>(screen_, *link_, *seams_.messages, appSettings_,
                                                    std::move(hooks));
    // 13. A restored port is opened as if the user had just chosen it.
    if (CommPort->currentIndex() != 0) CommPortCloseUp();
}

bool TMainForm::FormClose() {
    const int answer =
        seams_.messages->show(Message(0), kCaptionQuit, MbIcon::Question, MbButtons::YesNo);
    if (answer != kIdYes) return false;
    appSettings_.SaveAppSettings(CommPort->currentIndex());
    return true;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (transferRunning()) {
        // Asked when the transfer has ended, not under a box that would hold it.
        closeAfterTransfer_ = true;
        event->ignore();
        return;
    }
    if (FormClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TMainForm::EXIT_BTNClick() {
    close();
}

void TMainForm::PROGRAM_BTNClick() {
    transfers_->PROGRAM_BTNClick();
    transferEnded();
}

void TMainForm::READ_BTNClick() {
    transfers_->READ_BTNClick();
    transferEnded();
}

bool TMainForm::transferRunning() const {
    return transfers_ && transfers_->busy();
}

void TMainForm::transferEnded() {
    // A close asked for during the transfer asks its question now, after the result.
    if (!closeAfterTransfer_ || transferRunning()) return;
    closeAfterTransfer_ = false;
    close();
}

void TMainForm::CommPortCloseUp() {
    transfers_->CommPortCloseUp(CommPort->currentIndex());
}

void TMainForm::CommPortDropDown() {
    // The machine is looked at again each time, so that an adapter plugged in while the
    // program runs is there without a restart.
    for (const PortEntry& entry : appSettings_.PortEntries()) {
        const QString device = Text(entry.device);
        CommPort->setItemData(entry.portNo, device.isEmpty() ? QVariant() : QVariant(device),
                              Qt::ToolTipRole);
        CommPort->setItemData(entry.portNo, device.isEmpty() ? QStringLiteral("\u2014") : device,
                              kPortDeviceRole);
        CommPort->setItemData(entry.portNo, Text(entry.details), kPortDetailsRole);
    }
}

void TMainForm::INFO_BTNClick() {
    if (!infoDialog_ || transferRunning()) return;
    infoDialog_->setLinkCaption(Message(17));
    infoDialog_->exec();
}

// ---------------------------------------------------------------------------------------
// Frequency map editor

void TMainForm::FRQ_Enter(EditorScrollBar* sender) {
    editor_.FRQ_Enter(sender->tag());
}

void TMainForm::FRQ_Exit(EditorScrollBar* sender) {
    editor_.FRQ_Exit(sender->tag());
}

FocusMove TMainForm::FRQ_KeyDown(EditorScrollBar* sender, uint16_t& key) {
    return editor_.FRQ_KeyDown(sender->tag(), key);
}

void TMainForm::FRQ_KeyUp(EditorScrollBar* sender) {
    editor_.FRQ_KeyUp(sender->tag());
}

void TMainForm::FRQ_Scroll(EditorScrollBar* sender, int scrollCode, int& scrollPos) {
    editor_.FRQ_Scroll(sender->tag(), scrollCode, scrollPos);
}

void TMainForm::AVG_BARScroll(EditorScrollBar* /*sender*/, int scrollCode, int& scrollPos) {
    editor_.AVG_BARScroll(scrollCode, scrollPos);
}

void TMainForm::NBRK_BARChange() {
    screen_.setNeutralBrake(NBRK_BAR->value());
    NBRK_CAP->setText(Text(screen_.neutralBrakeCaption()));
}

// ---------------------------------------------------------------------------------------
// Tab strip and pop-up menu

void TMainForm::TabControl1Changing() {
    pages_.SaveScreenToPage(tabs_.selected());
}

void TMainForm::TabControl1Change() {
    pages_.LoadPageToScreen(tabs_.selected());
    editor_.ShowReadouts(selection().focused);
}

void TMainForm::userSelectedTab(int index) {
    if (transferRunning() || index < 0 || index >= tabs_.count() || index == tabs_.selected())
        return;
    TabControl1Changing();  // the change is always allowed
    tabs_.select(index);
    TabControl1Change();
}

void TMainForm::PopupMenu1Popup() {
    const PopupMenuState state = pageCommands_->PopupMenu1Popup();
    PAGE_RENAME->setEnabled(state.rename);
    PAGE_ADD->setEnabled(state.add);
    LINER_ADJ->setEnabled(state.linerAdj);
    FQRESET_MENU->setEnabled(state.frequencyReset);
    ATHOR_MENU->setEnabled(state.valuesReset);
    PAGE_OPEN->setEnabled(state.open);
    PAGE_INT->setEnabled(state.insert);
    PAGE_SAVE->setEnabled(state.save);
    PAGE_ALLSAVE->setEnabled(state.saveAll);
    PAGE_EXIT->setEnabled(state.close);
    PAGE_DELETE->setEnabled(state.remove);
}

void TMainForm::CommentChange() {
    // The memo shows what a settings file can keep: characters that code page 932
    // cannot hold become '?' as they are typed or pasted.
    const QString typed = Comment->toPlainText();
    const QString kept = Text(ReplaceNonCp932Characters(typed.toStdString()));
    if (kept != typed) {
        QTextCursor cursor = Comment->textCursor();
        const int fromEnd = static_cast<int>(typed.size()) - cursor.position();
        Comment->setPlainText(kept);  // runs this handler again with the kept text
        cursor = Comment->textCursor();
        cursor.setPosition(std::max(0, static_cast<int>(kept.size()) - fromEnd));
        Comment->setTextCursor(cursor);
        return;
    }
    screen_.setComment(FromWidgetText(typed, screen_.comment()));
}

void TMainForm::showPopupMenu(const QPoint& position) {
    if (transferRunning()) return;
    PopupMenu1Popup();
    PopupMenu1->popup(position);
}

// ---------------------------------------------------------------------------------------
// Mirrors of the plain state

void TMainForm::barChanged(int index) {
    FRQ[static_cast<size_t>(index)]->setValue(screen_.bar(index));
}

void TMainForm::averageChanged() {
    AVG_BAR->setValue(screen_.averageBar());
}

void TMainForm::neutralBrakeChanged() {
    NBRK_BAR->setValue(screen_.neutralBrake());
    NBRK_CAP->setText(Text(screen_.neutralBrakeCaption()));
}

void TMainForm::listChanged(ListId list) {
    listWidget(list)->setCurrentIndex(screen_.listIndex(list));
}

void TMainForm::commentChanged() {
    const QString text = ToWidgetText(screen_.comment());
    if (Comment->toPlainText() != text) Comment->setPlainText(text);
}

void TMainForm::gaugeChanged() {
    const QPixmap picture = GaugePixmap(editor_.gauge(), Select_Gage1->devicePixelRatioF());
    Select_Gage1->setPixmap(picture);
    Select_Gage2->setPixmap(picture);
}

void TMainForm::readoutsChanged() {
    const Readouts& r = editor_.readouts();
    FRQ_VALUE->setText(Text(r.value));
    FRQ_LEVEL->setText(Text(r.level));
    FRQ_NAME->setText(Text(r.name));
}

void TMainForm::tabsChanged() {
    QStringList captions;
    captions.reserve(tabs_.count());
    for (const std::string& caption : tabs_.captions())
        captions.push_back(Text(Cp932ToUtf8(caption)));
    TabBar->setTabs(captions, tabs_.selected());
}

}  // namespace mxc9
