#include "app/MainForm.h"

#include <QAction>
#include <QApplication>
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
#include <initializer_list>
#include <vector>

#include "app/ApplicationShell.h"
#include "app/MainFormWidgets.h"
#include "common/MessageTable.h"
#include "controls/InfoDialog.h"
#include "editor/FrequencyTable.h"
#include "editor/qt/EditorScrollBar.h"
#include "editor/qt/GaugeImage.h"
#include "platform/Cp932.h"

namespace mxc9 {

TMainForm::TMainForm(const Seams& seams, QWidget* parent, PortFactory makePort)
    : QWidget(parent), core_(seams, std::move(makePort)) {
    InstallFontSubstitutions();
    buildControls();
    screen().setListener(this);
    editor().setListener(this);
    tabs().setListener(this);
    tabs().append("DATA1");  // the one tab of the window layout
    FormCreate();
    // The tab strip is first in the tab order and holds the focus when the window opens.
    TabBar->setFocus();
}

TMainForm::~TMainForm() {
    screen().setListener(nullptr);
    editor().setListener(nullptr);
    tabs().setListener(nullptr);
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
    // Collect the frequency bars by name; the tag is the index.
    for (int n = 1; n <= kFrequencyBars; ++n) {
        auto* bar = TabControl1->findChild<EditorScrollBar*>(QStringLiteral("FRQ_%1").arg(n));
        FRQ[static_cast<size_t>(n - 1)] = bar;
        bar->setTag(n - 1);
    }
    static_cast<CloseUpComboBox*>(CommPort)->onDropDown = [this] { CommPortDropDown(); };
    core_.FormCreate(*this);
}

bool TMainForm::FormClose() {
    return core_.FormClose();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (core_.CloseRequested()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TMainForm::EXIT_BTNClick() {
    close();
}

void TMainForm::PROGRAM_BTNClick() {
    core_.PROGRAM_BTNClick();
}

void TMainForm::READ_BTNClick() {
    core_.READ_BTNClick();
}

void TMainForm::CommPortCloseUp() {
    core_.CommPortCloseUp();
}

void TMainForm::CommPortDropDown() {
    core_.CommPortDropDown();
}

void TMainForm::INFO_BTNClick() {
    if (!infoDialog_ || !core_.InfoAllowed()) return;
    infoDialog_->setLinkCaption(Message(17));
    infoDialog_->exec();
}

// ---------------------------------------------------------------------------------------
// What the core shows

void TMainForm::showTitle(const std::string& title) {
    setWindowTitle(Text(title));
}

void TMainForm::showHints(const std::array<std::string, kSpeedButtons>& hints) {
    QToolButton* const buttons[kSpeedButtons] = {PROGRAM_BTN, READ_BTN, INFO_BTN, EXIT_BTN};
    for (size_t i = 0; i < hints.size(); ++i) buttons[i]->setToolTip(Text(hints[i]));
}

void TMainForm::showMenuCaptions(const std::array<std::string, kPageMenuItems>& captions) {
    for (size_t i = 0; i < menuItems_.size(); ++i) menuItems_[i]->setText(Text(captions[i]));
}

void TMainForm::showBrakeItems(const std::vector<std::string>& items, int index) {
    BRK_LIST->clear();
    for (const std::string& item : items) BRK_LIST->addItem(Text(item));
    BRK_LIST->setCurrentIndex(index);
}

int TMainForm::portIndex() const {
    return CommPort->currentIndex();
}

void TMainForm::showPortIndex(int index) {
    CommPort->setCurrentIndex(index);
}

void TMainForm::showPortDevices(const std::vector<PortEntry>& entries) {
    for (const PortEntry& entry : entries) {
        const QString device = Text(entry.device);
        CommPort->setItemData(entry.portNo, device.isEmpty() ? QVariant() : QVariant(device),
                              Qt::ToolTipRole);
        CommPort->setItemData(entry.portNo, device.isEmpty() ? QStringLiteral("\u2014") : device,
                              kPortDeviceRole);
        CommPort->setItemData(entry.portNo, Text(entry.details), kPortDetailsRole);
    }
}

void TMainForm::focusTabControl() {
    TabBar->setFocus(Qt::OtherFocusReason);
}

void TMainForm::showTransferBusy(bool busy) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{PROGRAM_BTN, READ_BTN, CommPort, INFO_BTN, EXIT_BTN})
        control->setEnabled(!busy);
    TabBar->setSelectable(!busy);
    // The page's controls are held, greyed: a held control that has the focus gives it to
    // the tab strip first, as Read does, rather than to whatever follows it.
    std::vector<QWidget*> held(FRQ.begin(), FRQ.end());
    held.insert(held.end(), {AVG_BAR, NBRK_BAR, BRK_LIST, CUTVT_LIST, RES_LIST, CUR_LIST, Comment});
    if (busy && std::find(held.begin(), held.end(), QApplication::focusWidget()) != held.end())
        focusTabControl();
    for (QWidget* control : held) control->setEnabled(!busy);
}

void TMainForm::closeWindow() {
    close();
}

// ---------------------------------------------------------------------------------------
// Frequency map editor

void TMainForm::FRQ_Enter(EditorScrollBar* sender) {
    editor().FRQ_Enter(sender->tag());
}

void TMainForm::FRQ_Exit(EditorScrollBar* sender) {
    editor().FRQ_Exit(sender->tag());
}

FocusMove TMainForm::FRQ_KeyDown(EditorScrollBar* sender, uint16_t& key) {
    return editor().FRQ_KeyDown(sender->tag(), key);
}

void TMainForm::FRQ_KeyUp(EditorScrollBar* sender) {
    editor().FRQ_KeyUp(sender->tag());
}

void TMainForm::FRQ_Scroll(EditorScrollBar* sender, int scrollCode, int& scrollPos) {
    core_.FRQ_Scroll(sender->tag(), scrollCode, scrollPos);
}

void TMainForm::AVG_BARScroll(EditorScrollBar* /*sender*/, int scrollCode, int& scrollPos) {
    core_.AVG_BARScroll(scrollCode, scrollPos);
}

void TMainForm::NBRK_BARChange() {
    core_.NBRK_BARChange(NBRK_BAR->value());
}

// ---------------------------------------------------------------------------------------
// Tab strip and pop-up menu

void TMainForm::TabControl1Changing() {
    core_.TabControl1Changing();
}

void TMainForm::TabControl1Change() {
    core_.TabControl1Change();
}

void TMainForm::userSelectedTab(int index) {
    core_.SelectTab(index);
}

void TMainForm::PopupMenu1Popup() {
    const std::optional<PopupMenuState> state = core_.PopupMenu1Popup();
    for (size_t i = 0; i < menuItems_.size(); ++i)
        menuItems_[i]->setEnabled(state && ItemEnabled(*state, static_cast<PageMenuItem>(i)));
}

void TMainForm::CommentChange() {
    const QString typed = Comment->toPlainText();
    const std::optional<std::string> kept = core_.CommentChange(typed.toStdString());
    if (!kept) return;
    // The cursor keeps its distance from the end of the text.
    QTextCursor cursor = Comment->textCursor();
    const int fromEnd = static_cast<int>(typed.size()) - cursor.position();
    const QString shown = Text(*kept);
    Comment->setPlainText(shown);  // runs this handler again with the kept text
    cursor = Comment->textCursor();
    cursor.setPosition(std::max(0, static_cast<int>(shown.size()) - fromEnd));
    Comment->setTextCursor(cursor);
}

void TMainForm::showPopupMenu(const QPoint& position) {
    if (core_.transferRunning()) return;
    PopupMenu1Popup();
    PopupMenu1->popup(position);
}

// ---------------------------------------------------------------------------------------
// Mirrors of the plain state

void TMainForm::barChanged(int index) {
    FRQ[static_cast<size_t>(index)]->setValue(screen().bar(index));
}

void TMainForm::averageChanged() {
    AVG_BAR->setValue(screen().averageBar());
}

void TMainForm::neutralBrakeChanged() {
    NBRK_BAR->setValue(screen().neutralBrake());
    NBRK_CAP->setText(Text(screen().neutralBrakeCaption()));
}

void TMainForm::listChanged(ListId list) {
    listWidget(list)->setCurrentIndex(screen().listIndex(list));
}

void TMainForm::commentChanged() {
    const QString text = Text(core_.CommentText());
    if (Comment->toPlainText() != text) Comment->setPlainText(text);
}

void TMainForm::gaugeChanged() {
    const QPixmap picture = GaugePixmap(editor().gauge(), Select_Gage1->devicePixelRatioF());
    Select_Gage1->setPixmap(picture);
    Select_Gage2->setPixmap(picture);
}

void TMainForm::readoutsChanged() {
    const Readouts& r = editor().readouts();
    FRQ_VALUE->setText(Text(r.value));
    FRQ_LEVEL->setText(Text(r.level));
    FRQ_NAME->setText(Text(r.name));
}

void TMainForm::tabsChanged() {
    QStringList captions;
    captions.reserve(tabs().count());
    for (const std::string& caption : tabs().captions())
        captions.push_back(Text(Cp932ToUtf8(caption)));
    TabBar->setTabs(captions, tabs().selected());
}

}  // namespace mxc9
