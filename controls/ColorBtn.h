// TColorBtn: a push button that paints itself: a background in any colour, a caption
// of one or several lines placed by alignment and pixel offsets, and one of three edge
// styles. Everything else (clicks, default button, keyboard) is QPushButton's.
#pragma once

#include <QColor>
#include <QPushButton>
#include <QStringList>
#include <functional>

#include "controls/ColorBtnLayout.h"

namespace mxc9 {

class TColorBtn : public QPushButton {
    Q_OBJECT

  public:
    using TNotifyEvent = std::function<void(QObject* sender)>;

    explicit TColorBtn(QWidget* parent = nullptr);
    ~TColorBtn() override;

    // Each setter stores a changed value and repaints; an equal value changes nothing.
    const QStringList& CaptionLines() const { return captionLines_; }
    void setCaptionLines(const QStringList& lines);  // used when text() is empty
    QColor Color() const { return color_; }
    void setColor(const QColor& color);  // background while enabled
    TNHAlignment CapAlignH() const { return look_.capAlignH; }
    void setCapAlignH(TNHAlignment value);
    TNVAlignment CapAlignV() const { return look_.capAlignV; }
    void setCapAlignV(TNVAlignment value);
    TButtonStyle ButtonStyle() const { return look_.buttonStyle; }
    void setButtonStyle(TButtonStyle value);
    bool CapFixed() const { return look_.capFixed; }
    void setCapFixed(bool value);
    bool Focusline() const { return look_.focusline; }
    void setFocusline(bool value);
    int CapOffsetH() const { return look_.capOffsetH; }
    void setCapOffsetH(int value);
    int CapOffsetV() const { return look_.capOffsetV; }
    void setCapOffsetV(int value);
    QColor FrameColor() const { return frameColor_; }
    void setFrameColor(const QColor& color);
    QColor EdgeHighlight() const { return edgeHighlight_; }
    void setEdgeHighlight(const QColor& color);
    QColor EdgeShadow() const { return edgeShadow_; }
    void setEdgeShadow(const QColor& color);

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
    template <typename T>
    void assign(T& field, const T& value);
    ColorBtnState state() const;
    void updateActive();
    void mouseEntered();

    QStringList captionLines_;
    QColor color_;
    ColorBtnLook look_;
    QColor frameColor_;
    QColor edgeHighlight_;
    QColor edgeShadow_;

    QMetaObject::Connection focusWatch_;
    bool active_ = false;
    bool mouseInside_ = false;
    bool leftButtonDown_ = false;  // pressed over this button and not yet released
    int paintCount_ = 0;
};

}  // namespace mxc9
