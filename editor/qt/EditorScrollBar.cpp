#include "editor/qt/EditorScrollBar.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cstdlib>

#include "editor/qt/ClassicScrollBarStyle.h"

namespace mxc9 {

EditorScrollBar::EditorScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    // Qt scroll bars do not take the keyboard by default; these must. A click takes the
    // focus too, but only a left one (mousePressEvent).
    setFocusPolicy(Qt::TabFocus);
    // Right clicks go to the tab strip's pop-up menu, not to a scroll bar menu.
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(this, &QAbstractSlider::actionTriggered, this, &EditorScrollBar::actionRequested);
    connect(this, &QAbstractSlider::sliderReleased, this, &EditorScrollBar::dragEnded);
    setStyle(ClassicScrollBarStyle::instance());
}

void EditorScrollBar::focusInEvent(QFocusEvent* event) {
    QScrollBar::focusInEvent(event);
    // The focus coming back after a menu or a message box is no entry; but a bar that
    // received the focus while the window was inactive is entered when it shows again.
    if (entered_ && !MovesFocusBetweenControls(event->reason())) return;
    entered_ = true;
    if (onEnter) onEnter(this);
}

void EditorScrollBar::focusOutEvent(QFocusEvent* event) {
    QScrollBar::focusOutEvent(event);
    if (!entered_ || !MovesFocusBetweenControls(event->reason())) return;
    entered_ = false;
    if (onExit) onExit(this);
}

bool MovesFocusBetweenControls(Qt::FocusReason reason) {
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

bool EditorScrollBar::takeFocusForPointer() {
    if (!entered_ || !hasFocus()) setFocus(Qt::MouseFocusReason);
    // In an inactive window the focus moves without an entry; acting on a bar that was
    // not entered would move it outside the selected range, behind the handlers' back.
    return entered_ && hasFocus();
}

void EditorScrollBar::mousePressEvent(QMouseEvent* event) {
    // Only the left button works a scroll bar; the right one opens the tab strip's menu
    // (through the context-menu event) and neither it nor the middle one takes the
    // focus or moves the thumb.
    if (event->button() != Qt::LeftButton || !takeFocusForPointer()) {
        event->ignore();
        return;
    }
    QScrollBar::mousePressEvent(event);
}

void EditorScrollBar::wheelEvent(QWheelEvent* event) {
    // Qt would move the bar under the pointer by three lines without asking anyone. A
    // wheel turn is taken as a click would be: the bar takes the focus (so the handlers
    // see it entered, with or without Shift) and each notch is one line request, up
    // for a turn away from the user, as the Up key gives.
    event->accept();
    const QPoint angle = event->angleDelta();
    wheelRemainder_ += angle.y() != 0 ? angle.y() : angle.x();
    const int notches = wheelRemainder_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRemainder_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    if (notches == 0 || !takeFocusForPointer()) return;
    for (int i = 0; i < std::abs(notches); ++i)
        triggerAction(notches > 0 ? SliderSingleStepSub : SliderSingleStepAdd);
}

void EditorScrollBar::keyPressEvent(QKeyEvent* event) {
    uint16_t key = VirtualKeyOf(event->key());
    const FocusMove move = onKeyDown ? onKeyDown(this, key) : FocusMove::None;
    if (key == 0) {
        event->accept();
    } else {
        passKeyToBar(event);
    }
    // The focus moves along the tab order, so the old bar's exit and the new bar's
    // enter run as with a Tab key.
    if (move == FocusMove::Previous) focusNextPrevChild(false);
    if (move == FocusMove::Next) focusNextPrevChild(true);
}

void EditorScrollBar::passKeyToBar(QKeyEvent* event) {
    // The scroll bar keyboard interface: left and up step towards the minimum, right and
    // down towards the maximum, whatever the orientation (Qt inverts horizontal bars).
    QAbstractSlider::SliderAction action = SliderNoAction;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            action = SliderSingleStepSub;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            action = SliderSingleStepAdd;
            break;
        case Qt::Key_PageUp:
            action = SliderPageStepSub;
            break;
        case Qt::Key_PageDown:
            action = SliderPageStepAdd;
            break;
        case Qt::Key_Home:
            action = SliderToMinimum;
            break;
        case Qt::Key_End:
            action = SliderToMaximum;
            break;
        default:
            QScrollBar::keyPressEvent(event);
            return;
    }
    triggerAction(action);
    event->accept();
}

void EditorScrollBar::keyReleaseEvent(QKeyEvent* event) {
    QScrollBar::keyReleaseEvent(event);
    if (onKeyUp && !event->isAutoRepeat()) onKeyUp(this, VirtualKeyOf(event->key()));
}

void EditorScrollBar::actionRequested(int action) {
    // The slider has already computed the proposed position; the handler may replace it
    // (setting it back to value() refuses the move).
    const int code = ScrollCodeOf(action);
    if (code < 0 || !onScroll) return;
    int position = sliderPosition();
    onScroll(this, code, position);
    setSliderPosition(position);
}

void EditorScrollBar::dragEnded() {
    if (!onScroll) return;
    int position = value();
    onScroll(this, scEndScroll, position);
}

uint16_t VirtualKeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Shift:
            return kVkShift;
        case Qt::Key_Left:
            return kVkLeft;
        case Qt::Key_Up:
            return kVkUp;
        case Qt::Key_Right:
            return kVkRight;
        case Qt::Key_Down:
            return kVkDown;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        default:
            return 0xFF;
    }
}

int ScrollCodeOf(int sliderAction) {
    switch (sliderAction) {
        case QAbstractSlider::SliderSingleStepAdd:
            return scLineDown;
        case QAbstractSlider::SliderSingleStepSub:
            return scLineUp;
        case QAbstractSlider::SliderPageStepAdd:
            return scPageDown;
        case QAbstractSlider::SliderPageStepSub:
            return scPageUp;
        case QAbstractSlider::SliderToMinimum:
            return scTop;
        case QAbstractSlider::SliderToMaximum:
            return scBottom;
        case QAbstractSlider::SliderMove:
            return scTrack;
        default:
            return -1;
    }
}

}  // namespace mxc9
