// A scroll bar of the editing screen that reports its events the way the editor's
// handlers take them: focus in and out, key down and up with Windows key codes, and
// every scroll request with an in-out position before the bar takes it.
//
// Qt sends a bar events that the original platform never does: a focus change for a
// pop-up menu or a change of active window, a right or middle click that takes the
// focus, a wheel turn over a bar that does not have the focus. Each of those paths is
// decided here, so that the handlers see only what a scroll bar of the original
// platform reports, and every position change passes through them.
#pragma once

#include <QScrollBar>
#include <cstdint>
#include <functional>

#include "editor/FrequencyEditor.h"

namespace mxc9 {

class EditorScrollBar : public QScrollBar {
    Q_OBJECT
  public:
    EditorScrollBar(Qt::Orientation orientation, QWidget* parent);

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // Each hook runs only when set. Without onKeyDown every key reaches the bar.
    std::function<void(EditorScrollBar*)> onEnter;
    std::function<void(EditorScrollBar*)> onExit;
    std::function<FocusMove(EditorScrollBar*, uint16_t& key)> onKeyDown;
    std::function<void(EditorScrollBar*, uint16_t key)> onKeyUp;
    std::function<void(EditorScrollBar*, int scrollCode, int& scrollPos)> onScroll;

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    bool takeFocusForPointer();
    void passKeyToBar(QKeyEvent* event);
    void actionRequested(int action);
    void dragEnded();

    int tag_ = 0;
    bool entered_ = false;  // holds the focus as the handlers know it (enter ran, exit not)
    int wheelRemainder_ = 0;
};

// Whether a focus change moves the focus between controls of a window. A pop-up menu
// borrows the focus and gives it back, and a window losing and regaining the active
// state (a message box, another program) keeps its focused control: neither is one.
bool MovesFocusBetweenControls(Qt::FocusReason reason);

// The Windows virtual-key code of a Qt key (0xFF for keys the editor has no code for).
uint16_t VirtualKeyOf(int qtKey);
// The scroll request code of a QAbstractSlider action (-1 for SliderNoAction).
int ScrollCodeOf(int sliderAction);

}  // namespace mxc9
