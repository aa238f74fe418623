#include "controls/TabRow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

namespace mxc9 {

namespace {

// A page name is shown as it is: the style would take '&' for a mnemonic marker.
QString Shown(const QString& caption) {
    return QString(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

TTabRow::TTabRow(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto button = [this](Qt::ArrowType arrow, void (TabRowLayout::*scroll)()) {
        auto* b = new QToolButton(this);
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);  // scrolling moves neither the page nor the focus
        b->hide();
        connect(b, &QToolButton::clicked, this, [this, scroll] {
            (layout_.*scroll)();
            scrolled();
        });
        return b;
    };
    back_ = button(Qt::LeftArrow, &TabRowLayout::scrollBack);
    on_ = button(Qt::RightArrow, &TabRowLayout::scrollOn);
    back_->setObjectName(QStringLiteral("ScrollLeftButton"));
    on_->setObjectName(QStringLiteral("ScrollRightButton"));
}

void TTabRow::setTabs(const QStringList& captions, int current) {
    if (captions != captions_) {
        captions_ = captions;
        measureTabs();
    }
    current_ = current >= 0 && current < count() ? current : -1;
    layout_.makeVisible(current_);
    scrolled();
}

QRect TTabRow::tabRect(int index) const {
    if (index < 0 || index >= count()) return {};
    return {layout_.start(index) - layout_.offset(), 0, layout_.width(index), tabHeight_};
}

void TTabRow::setSelectable(bool selectable) {
    if (selectable_ == selectable) return;
    selectable_ = selectable;
    update();
}

QSize TTabRow::sizeHint() const {
    const int height = tabHeight_ > 0 ? tabHeight_ : tabSize(QStringLiteral("X")).height();
    return {layout_.totalWidth(), height};
}

QSize TTabRow::tabSize(const QString& caption) const {
    const auto found = sizes_.constFind(caption);
    if (found != sizes_.cend()) return *found;
    QStyleOptionTab option;
    option.initFrom(this);
    option.shape = shape();
    option.text = Shown(caption);
    const QFontMetrics metrics = fontMetrics();
    const QSize text = metrics.size(Qt::TextShowMnemonic, option.text);
    const QSize contents(
        text.width() + style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this),
        metrics.height() + style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this));
    const QSize size = style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this);
    sizes_.insert(caption, size);
    return size;
}

void TTabRow::measureTabs() {
    std::vector<int> widths;
    widths.reserve(static_cast<size_t>(count()));
    tabHeight_ = 0;
    for (const QString& caption : std::as_const(captions_)) {
        const QSize size = tabSize(caption);
        widths.push_back(size.width());
        tabHeight_ = std::max(tabHeight_, size.height());
    }
    layout_.setTabs(widths);
    placeButtons();
    updateGeometry();
}

void TTabRow::placeButtons() {
    // The buttons stand where the style puts a tab bar's scroll buttons, each as wide as
    // the style's scroll button; the tabs show left of them.
    QStyleOption option;
    option.initFrom(this);
    QRect back = style()->subElementRect(QStyle::SE_TabBarScrollLeftButton, &option, this);
    QRect on = style()->subElementRect(QStyle::SE_TabBarScrollRightButton, &option, this);
    const int buttonWidth = style()->pixelMetric(QStyle::PM_TabBarScrollButtonWidth, &option, this);
    back.setWidth(buttonWidth);
    on.setLeft(on.right() + 1 - buttonWidth);
    layout_.setRowWidth(width(), back.left());
    const bool scrolls = layout_.scrolls();
    back_->setGeometry(back);
    on_->setGeometry(on);
    back_->setVisible(scrolls);
    on_->setVisible(scrolls);
}

void TTabRow::scrolled() {
    back_->setEnabled(layout_.canScrollBack());
    on_->setEnabled(layout_.canScrollOn());
    update();
}

void TTabRow::request(int index) {
    if (selectable_ && index >= 0 && index < count() && index != current_) emit tabRequested(index);
}

void TTabRow::initTabOption(QStyleOptionTab& option, int index) const {
    option.initFrom(this);
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    option.rect = tabRect(index);
    option.row = 0;
    option.shape = shape();
    option.text = Shown(captions_.at(index));
    option.tabIndex = index;
    const bool selected = index == current_;
    if (selected) option.state |= QStyle::State_Selected;
    if (selected && hasFocus()) option.state |= QStyle::State_HasFocus;
    if (isActiveWindow()) option.state |= QStyle::State_Active;
    if (!selectable_) {
        option.state &= ~QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Disabled);
    }
    const int last = count() - 1;
    option.position = last == 0       ? QStyleOptionTab::OnlyOneTab
                      : index == 0    ? QStyleOptionTab::Beginning
                      : index == last ? QStyleOptionTab::End
                                      : QStyleOptionTab::Middle;
    option.selectedPosition =
        current_ >= 0 && index == current_ + 1   ? QStyleOptionTab::PreviousIsSelected
        : current_ >= 0 && index == current_ - 1 ? QStyleOptionTab::NextIsSelected
                                                 : QStyleOptionTab::NotAdjacent;
}

void TTabRow::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    const auto [first, last] = layout_.visibleTabs();
    QStyleOptionTab option;
    for (int i = first; i <= last; ++i) {
        if (i == current_) continue;
        initTabOption(option, i);
        painter.drawControl(QStyle::CE_TabBarTab, option);
    }
    // The selected tab last, so that it stands in front of its neighbours.
    if (current_ >= first && current_ <= last) {
        initTabOption(option, current_);
        painter.drawControl(QStyle::CE_TabBarTab, option);
    }
}

void TTabRow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    request(layout_.tabAt(event->position().toPoint().x()));
}

void TTabRow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right) {
        event->ignore();
        return;
    }
    const int step = (event->key() == Qt::Key_Left) == !isRightToLeft() ? -1 : 1;
    request(std::clamp(current_ + step, 0, count() - 1));
}

void TTabRow::wheelEvent(QWheelEvent* event) {
    if (!style()->styleHint(QStyle::SH_TabBar_AllowWheelScrolling, nullptr, this)) {
        event->ignore();
        return;
    }
    // One notch, or the same turn gathered from finer steps, moves one tab.
    wheelTurned_ += event->angleDelta();
    const int x = wheelTurned_.x() / QWheelEvent::DefaultDeltasPerStep;
    const int y = wheelTurned_.y() / QWheelEvent::DefaultDeltasPerStep;
    int step = 0;
    if (x > 0 || y > 0) step = -1;
    if (x < 0 || y < 0) step = 1;
    if (step != 0) {
        wheelTurned_ = QPoint();
        request(std::clamp(current_ + step, 0, count() - 1));
    }
    event->accept();
}

void TTabRow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeButtons();
    layout_.makeVisible(current_);
    scrolled();
}

void TTabRow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        sizes_.clear();
        measureTabs();
        layout_.makeVisible(current_);
        scrolled();
    }
}

}  // namespace mxc9
