// TColorBtn: a push button that paints itself: a background in any colour, a caption
// of one or several lines placed by alignment and pixel offsets, and one of three edge
// styles. Everything else (clicks, default button, keyboard) is QPushButton's.
#pragma once

#include <QColor>
#include <QPushButton>
#include <QStringList>
#include <functional>

#include "controls/ColorBtnLayout.h"
#include "controls/ColorBtnProperties.h"

namespace mxc9 {

class TColorBtn : public QPushButton, public ColorBtnProperties<TColorBtn, QColor, QStringList> {
    Q_OBJECT

  public:
    using TNotifyEvent = std::function<void(QObject* sender)>;

    explicit TColorBtn(QWidget* parent = nullptr);
    ~TColorBtn() override;

    // The published properties: ColorBtnProperties.

    // Called, when assigned, as the pointer enters and leaves the button.
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // Whether the button is the active one: focused, or the default button while no
    // other push button has the focus.
    bool isActive() const { return active_; }
    bool isMouseInside() const { return mouseInside_; }
    // Number of paints so far, for checking that a write repaints or does not.
    int paintCount() const { return paintCount_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    friend class ColorBtnProperties<TColorBtn, QColor, QStringList>;
    void propertyChanged();  // a property changed: paint again
    ColorBtnState state() const;
    void updateActive();
    void mouseEntered();

    QMetaObject::Connection focusWatch_;
    bool active_ = false;
    bool mouseInside_ = false;
    bool leftButtonDown_ = false;  // pressed over this button and not yet released
    int paintCount_ = 0;
};

}  // namespace mxc9
