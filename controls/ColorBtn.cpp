#include "controls/ColorBtn.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace mxc9 {

namespace {

// The desktop's colours for button faces and edges.
QColor SystemColor(QPalette::ColorRole role) {
    return QApplication::palette().color(QPalette::Active, role);
}
QColor BtnFace() {
    return SystemColor(QPalette::Button);
}
QColor BtnHighlight() {
    return SystemColor(QPalette::Light);
}
QColor BtnShadow() {
    return SystemColor(QPalette::Dark);
}
// Window frames are black on the desktop this button comes from; Qt's palettes have no
// role for them (their shadow is a mid grey).
QColor WindowFrame() {
    return QColor(0, 0, 0);
}

QRect ToQRect(const PixelRect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

int TextFlags(TNHAlignment align) {
    const int horizontal = align == haLeft    ? Qt::AlignLeft
                           : align == haRight ? Qt::AlignRight
                                              : Qt::AlignHCenter;
    return horizontal | Qt::AlignTop | Qt::TextShowMnemonic;
}

// The dotted focus rectangle: every other pixel of the outline inverted, as the
// desktop draws it, so that it shows on any background. `r` is in the button's pixels;
// at a device pixel ratio above 1 each of them covers a block of the image's pixels.
void DrawFocusDots(QImage& image, const PixelRect& r) {
    if (r.width() <= 0 || r.height() <= 0) return;
    const qreal ratio = image.devicePixelRatio();
    auto device = [ratio](int logical) { return static_cast<int>(std::floor(logical * ratio)); };
    auto invert = [&](int x, int y) {
        for (int dy = device(y); dy < device(y + 1); ++dy)
            for (int dx = device(x); dx < device(x + 1); ++dx)
                if (image.rect().contains(dx, dy))
                    image.setPixel(dx, dy, image.pixel(dx, dy) ^ 0x00FFFFFFu);
    };
    for (int x = r.left; x < r.right; x += 2) {
        invert(x, r.top);
        if (r.height() > 1) invert(x, r.bottom - 1);
    }
    for (int y = r.top + 2; y < r.bottom - 1; y += 2) {
        invert(r.left, y);
        if (r.width() > 1) invert(r.right - 1, y);
    }
}

}  // namespace

TColorBtn::TColorBtn(QWidget* parent)
    : QPushButton(parent),
      ColorBtnProperties(BtnFace(), WindowFrame(), BtnHighlight(), BtnShadow()) {
    // Focus moving between other widgets can make this the active (default) button.
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this] { updateActive(); });
}

// The focus leaves a widget while the widget is destroyed, after this part of it is gone.
TColorBtn::~TColorBtn() {
    disconnect(focusWatch_);
}

void TColorBtn::propertyChanged() {
    update();
}

ColorBtnState TColorBtn::state() const {
    ColorBtnState s;
    static_cast<ColorBtnLook&>(s) = look_;
    s.clientWidth = width();
    s.clientHeight = height();
    s.active = active_;
    s.focused = hasFocus();
    s.pressed = isDown();
    s.mouseInside = mouseInside_;
    return s;
}

void TColorBtn::updateActive() {
    const QWidget* focus = QApplication::focusWidget();
    const bool otherButtonFocused =
        focus != nullptr && focus != this && qobject_cast<const QPushButton*>(focus) != nullptr;
    const bool active = hasFocus() || (isDefault() && !otherButtonFocused);
    if (active != active_) {
        active_ = active;
        update();
    }
}

void TColorBtn::paintEvent(QPaintEvent*) {
    ++paintCount_;
    const ColorBtnState s = state();
    // Drawn off screen and copied in one step, so the button never shows half drawn.
    const qreal ratio = devicePixelRatioF();
    QImage image(size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    {
        QPainter p(&image);
        p.setFont(font());
        p.fillRect(rect(), isEnabled() ? color_ : BtnFace());

        std::vector<std::string> plainLines;
        for (const QString& line : captionLines_) plainLines.push_back(line.toStdString());
        const QString caption =
            QString::fromStdString(CaptionText(text().toStdString(), plainLines));
        if (!caption.isEmpty()) {
            const int flags = TextFlags(look_.capAlignH);
            const int textHeight = p.fontMetrics().boundingRect(QRect(), flags, caption).height();
            const QRect textRect = ToQRect(CaptionRect(s, textHeight));
            if (isEnabled()) {
                p.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
                p.drawText(textRect, flags, caption);
            } else {
                p.setPen(BtnHighlight());
                p.drawText(textRect.translated(1, 1), flags, caption);
                p.setPen(BtnShadow());
                p.drawText(textRect, flags, caption);
            }
        }

        for (const EdgeLine& line : EdgeLines(s)) {
            const QColor& c = line.color == EdgeColor::Frame       ? frameColor_
                              : line.color == EdgeColor::Highlight ? edgeHighlight_
                                                                   : edgeShadow_;
            p.fillRect(ToQRect(line.pixels), c);
        }
    }
    if (const auto focus = FocusRect(s)) DrawFocusDots(image, *focus);

    QPainter(this).drawImage(0, 0, image);
}

void TColorBtn::changeEvent(QEvent* event) {
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) update();
}

void TColorBtn::mouseEntered() {
    mouseInside_ = true;
    update();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TColorBtn::enterEvent(QEnterEvent* event) {
    if (!mouseInside_ || leftButtonDown_) mouseEntered();
    QPushButton::enterEvent(event);
}

void TColorBtn::leaveEvent(QEvent* event) {
    mouseInside_ = false;
    update();
    if (OnMouseLeave) OnMouseLeave(this);
    QPushButton::leaveEvent(event);
}

void TColorBtn::mouseMoveEvent(QMouseEvent* event) {
    // Catches an entry that arrived without an enter event (the pointer was already
    // over the button when it appeared), but not while a press is being dragged.
    if (!mouseInside_ && rect().contains(event->position().toPoint()) && !leftButtonDown_)
        mouseEntered();
    QPushButton::mouseMoveEvent(event);
}

void TColorBtn::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftButtonDown_ = true;
    QPushButton::mousePressEvent(event);
}

void TColorBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftButtonDown_ = false;
    QPushButton::mouseReleaseEvent(event);
}

void TColorBtn::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click counts as a second press, so two quick clicks give two clicks. Qt
    // normally delivers that second press itself just before the double click; the double
    // click stands in for it only when it came alone.
    if (isDown())
        event->accept();
    else
        mousePressEvent(event);
}

void TColorBtn::focusInEvent(QFocusEvent* event) {
    QPushButton::focusInEvent(event);
    updateActive();
}

void TColorBtn::focusOutEvent(QFocusEvent* event) {
    QPushButton::focusOutEvent(event);
    updateActive();
}

}  // namespace mxc9
