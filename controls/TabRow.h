// TTabRow: the row of tabs of a tab strip, drawn by the style as a tab bar with its tabs
// at the bottom. It shows the captions and the selected tab it is given, and asks for
// the tab the user chooses (a click, Left or Right, the wheel); it changes only when it
// is given new state. A new set of captions is laid out once, whatever its length, and
// only the tabs in view are painted, so a thousand tabs cost about a thousand times one.
#pragma once

#include <QHash>
#include <QPoint>
#include <QStringList>
#include <QTabBar>
#include <QWidget>

#include "controls/TabRowLayout.h"

class QStyleOptionTab;
class QToolButton;

namespace mxc9 {

class TTabRow : public QWidget {
    Q_OBJECT
  public:
    explicit TTabRow(QWidget* parent = nullptr);

    // The captions, left to right, and the selected tab (-1 for none). The selected tab
    // is scrolled into view.
    void setTabs(const QStringList& captions, int current);

    int count() const { return static_cast<int>(captions_.size()); }
    QString tabText(int index) const { return captions_.value(index); }
    int currentIndex() const { return current_; }
    // Where tab `index` is drawn, in the row's coordinates (outside it when scrolled out
    // of view); empty for an index without a tab.
    QRect tabRect(int index) const;
    QTabBar::Shape shape() const { return QTabBar::RoundedSouth; }

    // Not selectable: the tabs are drawn grey and the row asks for no tab. The row keeps
    // its place in the focus chain and scrolls as before.
    void setSelectable(bool selectable);
    bool selectable() const { return selectable_; }

    QSize sizeHint() const override;

  signals:
    // The user chose tab `index`, which is not the selected one.
    void tabRequested(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QSize tabSize(const QString& caption) const;
    void measureTabs();
    void placeButtons();
    void scrolled();
    void request(int index);
    void initTabOption(QStyleOptionTab& option, int index) const;

    QStringList captions_;
    int current_ = -1;
    bool selectable_ = true;
    TabRowLayout layout_;
    int tabHeight_ = 0;
    QToolButton* back_ = nullptr;
    QToolButton* on_ = nullptr;
    QPoint wheelTurned_;
    // Tab sizes by caption: pages named alike are measured once.
    mutable QHash<QString, QSize> sizes_;
};

}  // namespace mxc9
