// Small pieces shared by the main window's layout and its handlers.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QScreen>
#include <QString>
#include <QStyledItemDelegate>
#include <algorithm>
#include <array>
#include <functional>
#include <string>

namespace mxc9 {

inline QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// Item data of the port list beside each entry's own text ("COM3"): the device file it
// stands for and what that is. The closed box shows the entry's text alone.
inline constexpr int kPortDeviceRole = Qt::UserRole + 1;
inline constexpr int kPortDetailsRole = Qt::UserRole + 2;

// Paints the open port list as three columns: the entry's text, its device file and what
// that is. Colours and selection come from the style and the list's palette.
class PortListDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString texts[kColumns] = {item.text, index.data(kPortDeviceRole).toString(),
                                         index.data(kPortDetailsRole).toString()};
        item.text.clear();
        const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        const bool selected = item.state & QStyle::State_Selected;
        painter->save();
        painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        QRect cell = item.rect.adjusted(kGap / 2, 0, 0, 0);
        const auto widths = columnWidths(item.fontMetrics, index.model());
        for (int c = 0; c < kColumns; ++c) {
            cell.setWidth(widths[c]);
            painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                              texts[c]);
            cell.translate(widths[c] + kGap, 0);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setWidth(width(option.fontMetrics, index.model()));
        return size;
    }

    // The width that shows every row whole.
    static int width(const QFontMetrics& metrics, const QAbstractItemModel* model) {
        const auto widths = columnWidths(metrics, model);
        return widths[0] + widths[1] + widths[2] + kColumns * kGap;
    }

  private:
    static constexpr int kColumns = 3;
    static constexpr int kGap = 12;

    static std::array<int, kColumns> columnWidths(const QFontMetrics& metrics,
                                                  const QAbstractItemModel* model) {
        std::array<int, kColumns> widths{};
        const int roles[kColumns] = {Qt::DisplayRole, kPortDeviceRole, kPortDetailsRole};
        for (int row = 0; model && row < model->rowCount(); ++row)
            for (int c = 0; c < kColumns; ++c)
                widths[c] = std::max(
                    widths[c],
                    metrics.horizontalAdvance(model->index(row, 0).data(roles[c]).toString()));
        return widths;
    }
};

// A drop-down list that reports the opening of its list, so that the entries can be
// brought up to date first, and its closing: the port selection runs then, whether or
// not the entry changed. The open list may be wider than the box.
class CloseUpComboBox : public QComboBox {
  public:
    explicit CloseUpComboBox(QWidget* parent = nullptr) : QComboBox(parent) {
        setItemDelegate(new PortListDelegate(this));
    }
    std::function<void()> onDropDown;
    std::function<void()> onCloseUp;

  protected:
    void showPopup() override {
        if (onDropDown) onDropDown();
        popupOpen_ = true;
        QComboBox::showPopup();
        // Qt sizes the list by the entries' own texts; widen it to show the columns,
        // its right edge under the box's, and keep it on the screen.
        QWidget* popup = view()->window();
        const int wanted = PortListDelegate::width(view()->fontMetrics(), model()) +
                           popup->width() - view()->viewport()->width();
        if (popup == this->window() || popup->width() >= wanted) return;
        QRect area = popup->geometry();
        area.setLeft(area.right() + 1 - wanted);
        if (const QScreen* screen = this->screen()) {
            const QRect available = screen->availableGeometry();
            if (area.right() > available.right()) area.moveRight(available.right());
            if (area.left() < available.left()) area.moveLeft(available.left());
        }
        popup->setGeometry(area);
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        // Qt also calls this when the box is hidden with its window (closing, minimising);
        // only the closing of a list the user opened is a port selection.
        if (!popupOpen_) return;
        popupOpen_ = false;
        // The chosen item becomes current only after the list has closed.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (onCloseUp) onCloseUp();
            },
            Qt::QueuedConnection);
    }

    void keyPressEvent(QKeyEvent* event) override {
        // A key that changes the closed box's entry (arrows, Home, End, a letter) is a
        // choice like one from the open list: the box never shows one port and uses
        // another.
        const int before = currentIndex();
        QComboBox::keyPressEvent(event);
        if (!popupOpen_ && currentIndex() != before && onCloseUp) onCloseUp();
    }

  private:
    bool popupOpen_ = false;
};

}  // namespace mxc9
