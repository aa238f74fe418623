// The main window's controls: positions, sizes, fonts and colours of the window layout,
// and the wiring of each control's events to the handler named after it.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QFontDatabase>
#include <QFrame>
#include <QIconEngine>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QStylePainter>
#include <QToolButton>
#include <algorithm>
#include <functional>

#include "app/MainForm.h"
#include "app/MainFormWidgets.h"
#include "common/MessageTable.h"
#include "controls/TabRow.h"
#include "editor/FrequencyTable.h"
#include "editor/qt/ClassicScrollBarStyle.h"
#include "editor/qt/EditorScrollBar.h"

namespace mxc9 {
namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 449;
const char* const kWindowFont = "ＭＳ Ｐゴシック";
const char* const kLabelFont = "MS UI Gothic";

// IPA P Gothic, which stands in for the layout's Windows fonts, draws about 12 % wider
// than they do ("12.00kHz" in the bold 19-pixel readout takes 86 pixels where 84 fit
// inside the panel's bevel). Narrowed to the original widths, every text fits the box
// the layout gives it, at the original pixel heights.
constexpr int kStandInStretch = 89;

// The family that draws a font name of the layout: the Windows font where it is
// installed, else its stand-in. Asking Qt for a family that is not installed first
// makes it search every installed font for fallbacks (a sort of all of them through
// fontconfig) before it tries the substitute, for each name: a good part of start-up.
// (QFontDatabase::hasFamily would run the same search for a missing name.)
QString InstalledFamily(const char* family) {
    const QString name = QString::fromUtf8(family);
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(name, Qt::CaseInsensitive)) return name;
    for (const QString& substitute : QFont::substitutes(name))
        if (installed.contains(substitute, Qt::CaseInsensitive)) return substitute;
    return name;
}

QFont PixelFont(const char* family, int pixels, bool bold) {
    QFont font(InstalledFamily(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setStretch(kStandInStretch);
    return font;
}

void Paint(QWidget* widget, const QColor& background, const QColor& foreground) {
    QPalette palette = widget->palette();
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        palette.setColor(role, background);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, foreground);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// An icon of pixel art: at a device pixel ratio above 1 each pixel is repeated, never
// blended with its neighbours, so the glyphs stay as crisp as at 96 dots per inch.
class PixelArtIconEngine : public QIconEngine {
  public:
    explicit PixelArtIconEngine(QPixmap art) : art_(std::move(art)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        QPixmap scaled = art_.scaled(size, Qt::KeepAspectRatio, Qt::FastTransformation);
        if (mode != QIcon::Disabled) return scaled;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, scaled, &option);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device()->devicePixelRatioF();
        QPixmap device = pixmap(rect.size() * ratio, mode, state);
        device.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), device);
    }
    QIconEngine* clone() const override { return new PixelArtIconEngine(art_); }

  private:
    QPixmap art_;
};

// The 24 x 16 glyphs of the four speed buttons.
enum class Glyph { Write, Read, Information, Quit };

QIcon GlyphIcon(Glyph glyph) {
    QPixmap pixmap(24, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    auto arrow = [&](bool right, const QColor& colour) {
        QPainterPath path;
        const qreal tip = right ? 22 : 2, base = right ? 13 : 11, tail = right ? 2 : 22;
        path.moveTo(tail, 5);
        path.lineTo(base, 5);
        path.lineTo(base, 1);
        path.lineTo(tip, 8);
        path.lineTo(base, 15);
        path.lineTo(base, 11);
        path.lineTo(tail, 11);
        path.closeSubpath();
        p.fillPath(path, colour);
        p.setPen(QColor(0, 0, 0));
        p.drawPath(path);
    };
    switch (glyph) {
        case Glyph::Write:
            arrow(true, QColor(220, 40, 40));
            break;
        case Glyph::Read:
            arrow(false, QColor(40, 90, 220));
            break;
        case Glyph::Information:
            p.setBrush(QColor(40, 90, 220));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QRectF(5, 0, 15, 15));
            p.setPen(Qt::white);
            {
                QFont letter(QStringLiteral("Sans"));  // the glyph's own letter, not narrowed
                letter.setPixelSize(12);
                letter.setBold(true);
                p.setFont(letter);
            }
            p.drawText(QRectF(5, 0, 15, 15), Qt::AlignCenter, QStringLiteral("i"));
            break;
        case Glyph::Quit:
            p.setPen(QPen(QColor(200, 30, 30), 3));
            p.drawLine(QPointF(6, 2), QPointF(18, 14));
            p.drawLine(QPointF(18, 2), QPointF(6, 14));
            break;
    }
    p.end();
    return QIcon(new PixelArtIconEngine(pixmap));
}

// The page area of the tab strip: a raised panel above the tab row, open where the
// selected tab meets it, so that the tab and its page read as one piece.
class TabPage : public QFrame {
  public:
    TabPage(TTabRow* tabs, QWidget* parent) : QFrame(parent), tabs_(tabs) {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        tabs->installEventFilter(this);
    }

  protected:
    // The selected tab moves when another is chosen, renamed, added or removed; the tab
    // row repaints each time, and the opening follows it.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && selectedTab() != opening_) update();
        return QFrame::eventFilter(watched, event);
    }
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        opening_ = selectedTab();
        if (opening_.isEmpty()) return;
        // The bottom edge is cleared between the tab's own side lines.
        QPainter(this).fillRect(
            QRect(opening_.left() + 1, height() - frameWidth(), opening_.width() - 2, frameWidth()),
            palette().color(QPalette::Window));
    }

  private:
    QRect selectedTab() const {
        const int current = tabs_->currentIndex();
        return current < 0 ? QRect() : tabs_->tabRect(current).translated(tabs_->pos() - pos());
    }

    TTabRow* tabs_;
    QRect opening_;
};

// A scroll bar of the layout: range 0..maximum, line and page step 1 (page size 0).
EditorScrollBar* NewScrollBar(QWidget* parent, const QString& name, Qt::Orientation orientation,
                              const QRect& place, int maximum, int position) {
    auto* bar = new EditorScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setGeometry(place);
    bar->setRange(0, maximum);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setValue(position);
    return bar;
}

// A setting list: black with white text, and inverted while it has the keyboard focus,
// as the focused bar's thumb is. The style's own focus mark, a thin dark ring, is lost
// on black.
class SettingList : public QComboBox {
  public:
    using QComboBox::QComboBox;

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        if (hasFocus()) {
            for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button,
                              QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                option.palette.setColor(
                    role, QColor::fromRgb(option.palette.color(role).rgb() ^ 0xFFFFFFu));
        }
        painter.setPen(option.palette.color(QPalette::Text));
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

// An open drop-down list shows this many rows at a time and scrolls for the rest, as the
// platform's lists do.
constexpr int kOpenListRows = 8;

// Every open drop-down list is black with white bold text, as the setting lists are
// when closed, in a white frame that sets it off from the black comment box below, and
// opens at the current item with a bounded number of rows. Qt's own style would open a
// list as tall as the screen, ignoring the row count, in the default colours, whatever
// the box's palette, and with a frame in a dark shade of the list's black.
void ShapeOpenList(QComboBox* box) {
    box->setStyleSheet(
        QStringLiteral("QComboBox { combobox-popup: 0; }"
                       "QComboBox QAbstractItemView { border: 1px solid white; }"));
    box->setMaxVisibleItems(kOpenListRows);
    QAbstractItemView* view = box->view();
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setFont(PixelFont(kWindowFont, 12, true));
    // The rows are drawn on the viewport, which does not follow the view's palette here.
    for (QWidget* part : {static_cast<QWidget*>(view), view->viewport(), view->parentWidget()})
        Paint(part, QColor(0, 0, 0), QColor(255, 255, 255));
}

// Eats the mouse wheel of a widget. A wheel turn over the closed "COMM" list would change
// the port shown without the port selection that only the closing of the open list runs.
class WheelRefusal : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Wheel) return true;
        return QObject::eventFilter(watched, event);
    }
};

// The comment box does not take Tab, as a multi-line edit box in a dialog-like window
// does not: Tab and Shift+Tab move the focus along the tab order, also with Ctrl held
// (which Qt would leave in the box). A tab that a file's comment already holds stays.
class TabMovesFocus : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) return false;
        // Without Ctrl, the box's own focus move (tabChangesFocus) takes the key.
        if (!(key->modifiers() & Qt::ControlModifier)) return false;
        const bool back = key->key() == Qt::Key_Backtab || key->modifiers() & Qt::ShiftModifier;
        QKeyEvent plain(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
        QApplication::sendEvent(watched, &plain);
        return true;
    }
};

// Escape with Shift held closes a pop-up menu as Escape does; Qt's menus take only a
// plain Escape. The user's guide has users keep Shift held while the page menu opens
// (for "Linear Interpolation"), so Escape may well come with it.
class ShiftEscapeCloses : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::ShiftModifier) {
                QKeyEvent plain(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(watched, &plain);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

QFont WindowFont() {
    return PixelFont(kWindowFont, 12, false);
}

void InstallFontSubstitutions() {
    // The window layout names Windows fonts; IPA P Gothic is made to match their metrics.
    QFont::insertSubstitution(QString::fromUtf8(kWindowFont), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QString::fromUtf8(kLabelFont), QStringLiteral("IPAPGothic"));
}
void TMainForm::buildControls() {
    setObjectName(QStringLiteral("MainForm"));
    setFont(WindowFont());
    setFixedSize(kClientWidth, kClientHeight);

    TabControl1 = new QWidget(this);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setGeometry(0, 0, kClientWidth, kClientHeight);
    TabControl1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(TabControl1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showPopupMenu(TabControl1->mapToGlobal(at)); });

    TabBar = new TTabRow(TabControl1);
    TabBar->setObjectName(QStringLiteral("TabControl1Tabs"));
    TabBar->setContextMenuPolicy(Qt::NoContextMenu);
    constexpr int tabHeight = 21;
    TabBar->setGeometry(2, kClientHeight - tabHeight, kClientWidth - 4, tabHeight);
    connect(TabBar, &TTabRow::tabRequested, this, &TMainForm::userSelectedTab);

    auto* page = new TabPage(TabBar, TabControl1);
    page->setObjectName(QStringLiteral("TabPage"));
    page->setGeometry(0, 0, kClientWidth, kClientHeight - tabHeight + 1);
    page->setContextMenuPolicy(Qt::NoContextMenu);
    page->lower();

    buildEditor();
    buildSettingColumn();
    buildButtons();
    buildPopupMenu();
    setTabOrder();
    for (QComboBox* box : {BRK_LIST, CUTVT_LIST, RES_LIST, CUR_LIST, CommPort}) ShapeOpenList(box);
    CommPort->installEventFilter(new WheelRefusal(CommPort));
}

void TMainForm::buildEditor() {
    auto* label = new QLabel(QStringLiteral("Frequency"), TabControl1);
    label->setObjectName(QStringLiteral("FRQ_LAB"));
    label->setFont(PixelFont(kLabelFont, 12, true));
    Paint(label, palette().color(QPalette::Window), QColor(0, 0, 128));
    label->setAutoFillBackground(false);
    label->move(6, 3);
    label->adjustSize();

    Select_Gage1 = new QLabel(TabControl1);
    Select_Gage1->setObjectName(QStringLiteral("Select_Gage1"));
    Select_Gage1->setGeometry(5, 19, SelectionGauge::kWidth, SelectionGauge::kHeight);
    Select_Gage2 = new QLabel(TabControl1);
    Select_Gage2->setObjectName(QStringLiteral("Select_Gage2"));
    Select_Gage2->setGeometry(5, 393, SelectionGauge::kWidth, SelectionGauge::kHeight);

    for (int n = 1; n <= kFrequencyBars; ++n) {
        auto* bar = NewScrollBar(TabControl1, QStringLiteral("FRQ_%1").arg(n), Qt::Vertical,
                                 QRect(6 + 17 * (n - 1), 27, 16, 365), kMaxFrequencyCode, 32);
        bar->onEnter = [this](EditorScrollBar* s) { FRQ_Enter(s); };
        bar->onExit = [this](EditorScrollBar* s) { FRQ_Exit(s); };
        bar->onKeyDown = [this](EditorScrollBar* s, uint16_t& key) { return FRQ_KeyDown(s, key); };
        bar->onKeyUp = [this](EditorScrollBar* s, uint16_t) { FRQ_KeyUp(s); };
        bar->onScroll = [this](EditorScrollBar* s, int code, int& pos) {
            FRQ_Scroll(s, code, pos);
        };
    }

    AVG_BAR = NewScrollBar(TabControl1, QStringLiteral("AVG_BAR"), Qt::Vertical,
                           QRect(552, 27, 21, 365), kMaxFrequencyCode, 32);
    AVG_BAR->setTag(kAverageBarTag);
    // No key or exit handlers: every key of the scroll bar keyboard interface reaches it.
    AVG_BAR->onEnter = [this](EditorScrollBar* s) { FRQ_Enter(s); };
    AVG_BAR->onScroll = [this](EditorScrollBar* s, int code, int& pos) {
        AVG_BARScroll(s, code, pos);
    };

    auto readout = [this](const char* name, int x, int width) {
        auto* panel = new QLabel(QStringLiteral("-----"), TabControl1);
        panel->setObjectName(QString::fromLatin1(name));
        panel->setGeometry(x, 401, width, 24);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setAlignment(Qt::AlignCenter);
        panel->setFont(PixelFont(kWindowFont, 19, true));
        Paint(panel, QColor(0, 0, 0), QColor(0, 255, 0));
        return panel;
    };
    FRQ_VALUE = readout("FRQ_VALUE", 5, 86);
    FRQ_LEVEL = readout("FRQ_LEVEL", 91, 85);
    FRQ_NAME = readout("FRQ_NAME", 176, 85);
}

void TMainForm::buildSettingColumn() {
    auto label = [this](const char* name, const char* caption, int x, int y) {
        auto* l = new QLabel(QString::fromUtf8(caption), TabControl1);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(PixelFont(kLabelFont, 12, true));
        QPalette palette = l->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
        l->setPalette(palette);
        l->move(x, y);
        l->adjustSize();
    };
    auto list = [this](const char* name, int x, int y, int width) {
        auto* box = new SettingList(TabControl1);
        box->setObjectName(QString::fromLatin1(name));
        box->setEditable(false);
        box->move(x, y);
        box->setFixedWidth(width);
        box->setFont(PixelFont(kWindowFont, 12, true));
        Paint(box, QColor(0, 0, 0), QColor(255, 255, 255));
        return box;
    };

    label("CH1_LAB", "Neutral Brake", 582, 3);
    NBRK_CAP = new QLineEdit(QStringLiteral("OFF"), TabControl1);
    NBRK_CAP->setObjectName(QStringLiteral("NBRK_CAP"));
    NBRK_CAP->setGeometry(582, 16, 43, 20);
    NBRK_CAP->setReadOnly(true);
    NBRK_CAP->setFont(PixelFont(kWindowFont, 12, true));
    Paint(NBRK_CAP, QColor(0, 0, 0), QColor(255, 255, 255));

    NBRK_BAR = NewScrollBar(TabControl1, QStringLiteral("NBRK_BAR"), Qt::Horizontal,
                            QRect(650, 17, 134, 18), kNeutralBrakeMax, 0);
    connect(NBRK_BAR, &QAbstractSlider::valueChanged, this, &TMainForm::NBRK_BARChange);

    label("CH2_LAB", "Brake Frequency", 582, 38);
    BRK_LIST = list("BRK_LIST", 582, 51, 107);
    label("CH3_LAB", "Power Save", 582, 73);
    CUTVT_LIST = list("CUTVT_LIST", 582, 86, 75);
    label("CH4_LAB", "TH.Response", 582, 108);
    RES_LIST = list("RES_LIST", 582, 121, 75);
    label("CH5_LAB", "Current Limiter", 686, 108);
    CUR_LIST = list("CUR_LIST", 686, 121, 75);
    label("CH6_LAB", "Comment", 582, 141);

    for (ListId id : {ListId::CutVt, ListId::Response, ListId::Current}) {
        for (const std::string& item : ListItems(id)) listWidget(id)->addItem(Text(item));
    }
    for (ListId id : {ListId::Brake, ListId::CutVt, ListId::Response, ListId::Current}) {
        QComboBox* box = listWidget(id);
        box->setCurrentIndex(screen().listIndex(id));
        // A user's choice becomes the list's value on screen.
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, id](int index) { core_.ListChange(id, index); });
    }

    Comment = new QPlainTextEdit(TabControl1);
    Comment->setObjectName(QStringLiteral("Comment"));
    Comment->setGeometry(582, 154, 203, 239);
    Comment->setFont(PixelFont(kWindowFont, 12, true));
    Comment->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Comment->setTabChangesFocus(true);
    Comment->installEventFilter(new TabMovesFocus(Comment));
    Comment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Comment->verticalScrollBar()->setStyle(ClassicScrollBarStyle::instance());
    Paint(Comment, QColor(0, 0, 0), QColor(255, 255, 255));
    connect(Comment, &QPlainTextEdit::textChanged, this, &TMainForm::CommentChange);
}

void TMainForm::buildButtons() {
    auto button = [this](const char* name, Glyph glyph, int x, int width) {
        auto* b = new QToolButton(TabControl1);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);  // speed buttons never take the focus
        b->setIcon(GlyphIcon(glyph));
        b->setIconSize(QSize(24, 16));
        b->setGeometry(x, 403, width, 22);
        return b;
    };
    PROGRAM_BTN = button("PROGRAM_BTN", Glyph::Write, 267, 33);
    READ_BTN = button("READ_BTN", Glyph::Read, 300, 33);
    INFO_BTN = button("INFO_BTN", Glyph::Information, 346, 34);
    EXIT_BTN = button("EXIT_BTN", Glyph::Quit, 380, 33);
    connect(EXIT_BTN, &QToolButton::clicked, this, &TMainForm::EXIT_BTNClick);
    connect(INFO_BTN, &QToolButton::clicked, this, &TMainForm::INFO_BTNClick);
    connect(PROGRAM_BTN, &QToolButton::clicked, this, &TMainForm::PROGRAM_BTNClick);
    connect(READ_BTN, &QToolButton::clicked, this, &TMainForm::READ_BTNClick);

    Label35 = new QLabel(QStringLiteral("COMM"), TabControl1);
    Label35->setObjectName(QStringLiteral("Label35"));
    Label35->move(680, 408);
    Label35->adjustSize();
    CommPort = new CloseUpComboBox(TabControl1);
    static_cast<CloseUpComboBox*>(CommPort)->onCloseUp = [this] { CommPortCloseUp(); };
    CommPort->setObjectName(QStringLiteral("CommPort"));
    CommPort->move(721, 405);
    CommPort->setFixedWidth(65);
    CommPort->addItem(QStringLiteral("OFF"));
    for (int n = 1; n <= 10; ++n) CommPort->addItem(QStringLiteral("COM%1").arg(n));
    CommPort->setCurrentIndex(0);
}

void TMainForm::buildPopupMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->installEventFilter(new ShiftEscapeCloses(PopupMenu1));
    for (size_t i = 0; i < menuItems_.size(); ++i) {
        const auto item = static_cast<PageMenuItem>(i);
        QAction* action = PopupMenu1->addAction(QString::fromLatin1(kPageMenuItemNames[i]));
        action->setObjectName(QString::fromLatin1(kPageMenuItemNames[i]));
        connect(action, &QAction::triggered, this,
                [this, item] { RunPageMenuItem(pageCommands(), item); });
        menuItems_[i] = action;
        if (SeparatorAfter(item)) PopupMenu1->addSeparator();
    }
    QAction** named[] = {&PAGE_RENAME,  &PAGE_ADD,  &LINER_ADJ,  &FQRESET_MENU,
                         &ATHOR_MENU,   &PAGE_OPEN, &PAGE_INT,   &PAGE_SAVE,
                         &PAGE_ALLSAVE, &PAGE_EXIT, &PAGE_DELETE};
    for (size_t i = 0; i < menuItems_.size(); ++i) *named[i] = menuItems_[i];
}

void TMainForm::setTabOrder() {
    // The tab strip itself first, then the bars in index order, the average bar and the
    // right-hand column; the port list closes the chain.
    std::vector<QWidget*> chain{TabBar};
    for (int n = 1; n <= kFrequencyBars; ++n)
        chain.push_back(TabControl1->findChild<EditorScrollBar*>(QStringLiteral("FRQ_%1").arg(n)));
    for (QWidget* w :
         std::initializer_list<QWidget*>{AVG_BAR, NBRK_CAP, NBRK_BAR, BRK_LIST, RES_LIST, CUR_LIST,
                                         Comment, CUTVT_LIST, CommPort})
        chain.push_back(w);
    for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

QComboBox* TMainForm::listWidget(ListId list) const {
    switch (list) {
        case ListId::Brake:
            return BRK_LIST;
        case ListId::CutVt:
            return CUTVT_LIST;
        case ListId::Response:
            return RES_LIST;
        case ListId::Current:
            return CUR_LIST;
    }
    return nullptr;
}

}  // namespace mxc9
