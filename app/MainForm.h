// TMainForm: the main window in Qt widgets. It owns the plain core of the window
// (app/MainFormCore: the page on screen, the tab strip, the page store, the editor, the
// transfers, the creation steps and the close protocol) and the widgets that show it,
// and forwards every control event to the handler named after the control and the
// event. The rules themselves live in plain C++; the handlers here only connect them to
// widgets.
#pragma once

#include <QFont>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/AppSettings.h"
#include "app/MainFormCore.h"
#include "controls/TabRow.h"
#include "device/DeviceLink.h"
#include "device/TransferCommands.h"
#include "editor/FrequencyEditor.h"
#include "editor/ScreenModel.h"
#include "pages/PageCommands.h"
#include "pages/PageStore.h"
#include "pages/TabStrip.h"
#include "platform/Seams.h"

class QAction;
class QCloseEvent;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QScrollBar;
class QToolButton;

namespace mxc9 {

class EditorScrollBar;
class TInfoDialog;

class TMainForm : public QWidget,
                  private MainFormView,
                  private ScreenModel::Listener,
                  private FrequencyEditor::Listener,
                  private TabStrip::Listener {
    Q_OBJECT
  public:
    // Makes the port behind the device link; empty: the serial port component.
    using PortFactory = MainFormCore::PortFactory;

    // The seams are not owned and must outlive the window.
    explicit TMainForm(const Seams& seams, QWidget* parent = nullptr, PortFactory makePort = {});
    ~TMainForm() override;

    // Plain state.
    MainFormCore& core() { return core_; }
    ScreenModel& screen() { return core_.screen(); }
    TabStrip& tabs() { return core_.tabs(); }
    PageStore& pages() { return core_.pages(); }
    FrequencyEditor& editor() { return core_.editor(); }
    SelectionState& selection() { return core_.selection(); }
    const std::string& lastFileName() { return core_.pageCommands().lastFileName(); }
    const Seams& seams() const { return core_.seams(); }
    PageCommands& pageCommands() { return core_.pageCommands(); }
    AppSettings& appSettings() { return core_.appSettings(); }
    DeviceLink& deviceLink() { return core_.deviceLink(); }

    // The information dialog, created once after the main window (not owned; a child).
    void setInfoDialog(TInfoDialog* dialog) { infoDialog_ = dialog; }
    TInfoDialog* infoDialog() const { return infoDialog_; }

    // Controls, named as in the window layout.
    QWidget* TabControl1 = nullptr;
    TTabRow* TabBar = nullptr;  // the tab row of TabControl1, at its bottom edge
    QMenu* PopupMenu1 = nullptr;
    QAction* PAGE_RENAME = nullptr;
    QAction* PAGE_ADD = nullptr;
    QAction* LINER_ADJ = nullptr;
    QAction* FQRESET_MENU = nullptr;
    QAction* ATHOR_MENU = nullptr;
    QAction* PAGE_OPEN = nullptr;
    QAction* PAGE_INT = nullptr;
    QAction* PAGE_SAVE = nullptr;
    QAction* PAGE_ALLSAVE = nullptr;
    QAction* PAGE_EXIT = nullptr;
    QAction* PAGE_DELETE = nullptr;
    QLabel* Select_Gage1 = nullptr;
    QLabel* Select_Gage2 = nullptr;
    std::array<EditorScrollBar*, kFrequencyBars> FRQ{};  // FRQ_1..FRQ_32, index = tag
    EditorScrollBar* AVG_BAR = nullptr;
    QLabel* FRQ_VALUE = nullptr;
    QLabel* FRQ_LEVEL = nullptr;
    QLabel* FRQ_NAME = nullptr;
    QToolButton* PROGRAM_BTN = nullptr;
    QToolButton* READ_BTN = nullptr;
    QToolButton* INFO_BTN = nullptr;
    QToolButton* EXIT_BTN = nullptr;
    QLabel* Label35 = nullptr;
    QComboBox* CommPort = nullptr;
    QLineEdit* NBRK_CAP = nullptr;
    EditorScrollBar* NBRK_BAR = nullptr;
    QComboBox* BRK_LIST = nullptr;
    QComboBox* CUTVT_LIST = nullptr;
    QComboBox* RES_LIST = nullptr;
    QComboBox* CUR_LIST = nullptr;
    QPlainTextEdit* Comment = nullptr;

    // The list widget that shows a list of the screen.
    QComboBox* listWidget(ListId list) const;

    // Event handlers.
    void FormCreate();
    // Asks "Close the program?"; true when the window may close.
    bool FormClose();
    void EXIT_BTNClick();
    void INFO_BTNClick();
    void PROGRAM_BTNClick();
    void READ_BTNClick();
    void CommPortCloseUp();
    // The port list is about to open: each COMn shows the device it stands for now.
    void CommPortDropDown();
    void FRQ_Enter(EditorScrollBar* sender);
    void FRQ_Exit(EditorScrollBar* sender);
    FocusMove FRQ_KeyDown(EditorScrollBar* sender, uint16_t& key);
    void FRQ_KeyUp(EditorScrollBar* sender);
    void FRQ_Scroll(EditorScrollBar* sender, int scrollCode, int& scrollPos);
    void AVG_BARScroll(EditorScrollBar* sender, int scrollCode, int& scrollPos);
    void NBRK_BARChange();
    void TabControl1Changing();
    void TabControl1Change();
    void PopupMenu1Popup();
    void CommentChange();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildEditor();
    void buildSettingColumn();
    void buildButtons();
    void buildPopupMenu();
    void setTabOrder();
    void showPopupMenu(const QPoint& position);
    void userSelectedTab(int index);

    // MainFormView.
    void showTitle(const std::string& title) override;
    void showHints(const std::array<std::string, kSpeedButtons>& hints) override;
    void showMenuCaptions(const std::array<std::string, kPageMenuItems>& captions) override;
    void showBrakeItems(const std::vector<std::string>& items, int index) override;
    int portIndex() const override;
    void showPortIndex(int index) override;
    void showPortDevices(const std::vector<PortEntry>& entries) override;
    void focusTabControl() override;
    void showTransferBusy(bool busy) override;
    void closeWindow() override;

    // ScreenModel::Listener: mirror the page on screen into the widgets.
    void barChanged(int index) override;
    void averageChanged() override;
    void neutralBrakeChanged() override;
    void listChanged(ListId list) override;
    void commentChanged() override;
    // FrequencyEditor::Listener.
    void gaugeChanged() override;
    void readoutsChanged() override;
    // TabStrip::Listener.
    void tabsChanged() override;

    MainFormCore core_;
    std::array<QAction*, kPageMenuItems> menuItems_{};
    TInfoDialog* infoDialog_ = nullptr;
};

// Maps the Windows font names of the window layout to the installed IPA fonts.
void InstallFontSubstitutions();
// The window's font, 12-pixel "ＭＳ Ｐゴシック" as its stand-in draws it.
QFont WindowFont();

}  // namespace mxc9
