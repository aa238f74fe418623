#include "controls/ColorBtnLayout.h"

#include <algorithm>

namespace mxc9 {

std::string CaptionText(const std::string& caption, const std::vector<std::string>& lines) {
    if (!caption.empty()) return caption;
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += '\n';
        text += lines[i];
    }
    return text;
}

PixelRect CaptionRect(const ColorBtnState& s, int textHeight) {
    PixelRect r{0, 0, s.clientWidth, textHeight};
    // The steps add up, but their order is kept as the layout rules state them.
    if (s.capAlignV == vaCenter) r = r.shifted(0, (s.clientHeight - textHeight) / 2);
    if (s.capAlignV == vaBottom) r = r.shifted(0, s.clientHeight - textHeight);

    if (s.capAlignH == haLeft) r = r.shifted(5, 0);
    if (s.capAlignH == haRight) r = r.shifted(-5, 0);

    if (s.capAlignV == vaTop) r = r.shifted(0, 4);
    if (s.capAlignV == vaBottom) r = r.shifted(0, -5);

    // A loose caption sits one pixel nearer its edge while the button is idle, so that
    // gaining focus or becoming the default makes it step inwards.
    if (s.buttonStyle == bsStd && !s.capFixed && !s.active && !s.focused) {
        if (s.capAlignH == haLeft) r = r.shifted(-1, 0);
        if (s.capAlignH == haRight) r = r.shifted(1, 0);
        if (s.capAlignV == vaTop) r = r.shifted(0, -1);
        if (s.capAlignV == vaBottom) r = r.shifted(0, 1);
    }

    r = r.shifted(s.capOffsetH, s.capOffsetV);
    if (s.pressed) r = r.shifted(1, 1);
    return r;
}

namespace {

PixelRect TopLine(const PixelRect& r) {
    return {r.left, r.top, r.right, r.top + 1};
}
PixelRect LeftLine(const PixelRect& r) {
    return {r.left, r.top, r.left + 1, r.bottom};
}
PixelRect RightLine(const PixelRect& r) {
    return {r.right - 1, r.top, r.right, r.bottom};
}
PixelRect BottomLine(const PixelRect& r) {
    return {r.left, r.bottom - 1, r.right, r.bottom};
}

class LineList {
  public:
    explicit LineList(const PixelRect& client) : client_(client) {}

    void add(const PixelRect& line, EdgeColor color) {
        // A button too small for its edges simply loses what does not fit.
        const PixelRect pixels{std::max(line.left, client_.left), std::max(line.top, client_.top),
                               std::min(line.right, client_.right),
                               std::min(line.bottom, client_.bottom)};
        if (pixels.width() > 0 && pixels.height() > 0) lines_.push_back({pixels, color});
    }
    void outline(const PixelRect& r, EdgeColor color) {
        add(TopLine(r), color);
        add(LeftLine(r), color);
        add(RightLine(r), color);
        add(BottomLine(r), color);
    }
    // Light top and left, dark right and bottom; swapped for a sunken look.
    void bevel(const PixelRect& r, EdgeColor topLeft, EdgeColor bottomRight) {
        add(TopLine(r), topLeft);
        add(LeftLine(r), topLeft);
        add(RightLine(r), bottomRight);
        add(BottomLine(r), bottomRight);
    }
    std::vector<EdgeLine> take() { return std::move(lines_); }

  private:
    PixelRect client_;
    std::vector<EdgeLine> lines_;
};

}  // namespace

std::vector<EdgeLine> EdgeLines(const ColorBtnState& s) {
    PixelRect r{0, 0, s.clientWidth, s.clientHeight};
    LineList lines(r);
    switch (s.buttonStyle) {
        case bsStd:
            if (s.active || s.focused) {
                lines.outline(r, EdgeColor::Frame);
                r = r.shrunk(1);
            }
            if (s.pressed) {
                lines.outline(r, EdgeColor::Shadow);
            } else {
                lines.bevel(r, EdgeColor::Highlight, EdgeColor::Frame);
                lines.add({r.right - 2, r.top + 1, r.right - 1, r.bottom - 1}, EdgeColor::Shadow);
                lines.add({r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, EdgeColor::Shadow);
            }
            break;
        case bsIELike:
            if (s.pressed) {
                lines.bevel(r, EdgeColor::Shadow, EdgeColor::Highlight);
            } else if (s.mouseInside) {
                lines.bevel(r, EdgeColor::Highlight, EdgeColor::Shadow);
            }
            break;
        case bsNone:
            break;
    }
    return lines.take();
}

std::optional<PixelRect> FocusRect(const ColorBtnState& s) {
    if (!s.focusline || !s.active || !s.focused) return std::nullopt;
    const PixelRect client{0, 0, s.clientWidth, s.clientHeight};
    switch (s.buttonStyle) {
        case bsStd:
            return client.shrunk(4);
        case bsIELike:
            return client.shrunk(2);
        case bsNone:
            break;
    }
    return client;
}

}  // namespace mxc9
