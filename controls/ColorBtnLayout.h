// Geometry of the owner-drawn colour button, free of any window system: where the
// caption goes, which one-pixel edge lines are drawn in which colour, and where the
// focus rectangle sits. The button widget only fills what this computes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mxc9 {

enum TButtonStyle : std::uint8_t { bsStd, bsIELike, bsNone };
enum TNHAlignment : std::uint8_t { haLeft, haCenter, haRight };
enum TNVAlignment : std::uint8_t { vaTop, vaCenter, vaBottom };

// A rectangle with exclusive right and bottom edges.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    PixelRect shifted(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    PixelRect shrunk(int by) const { return {left + by, top + by, right - by, bottom - by}; }
    bool operator==(const PixelRect&) const = default;
};

// The published look of a button, as its properties set it.
struct ColorBtnLook {
    TNHAlignment capAlignH = haCenter;
    TNVAlignment capAlignV = vaCenter;
    TButtonStyle buttonStyle = bsStd;
    bool capFixed = true;
    bool focusline = true;
    int capOffsetH = 0;
    int capOffsetV = 0;
};

// What the paint of one moment depends on: the look, the size and the button's state.
struct ColorBtnState : ColorBtnLook {
    int clientWidth = 0;
    int clientHeight = 0;
    bool active = false;       // the focused button, or the default one while no button has focus
    bool focused = false;      // has the keyboard focus
    bool pressed = false;      // held down
    bool mouseInside = false;  // the pointer is over the button
};

// The caption drawn: the ordinary caption when it has text, otherwise the lines joined
// by line breaks (none after the last); empty when both are empty.
std::string CaptionText(const std::string& caption, const std::vector<std::string>& lines);

// The rectangle the caption is drawn into (its text aligned horizontally inside it,
// starting at its top), for a caption block textHeight pixels high.
PixelRect CaptionRect(const ColorBtnState& state, int textHeight);

enum class EdgeColor : std::uint8_t { Frame, Highlight, Shadow };

struct EdgeLine {
    PixelRect pixels;  // one pixel wide or high
    EdgeColor color;
    bool operator==(const EdgeLine&) const = default;
};

// The edge lines in drawing order; later lines cover earlier ones where they cross.
std::vector<EdgeLine> EdgeLines(const ColorBtnState& state);

// Where the dotted focus rectangle is drawn, or nothing when none is drawn.
std::optional<PixelRect> FocusRect(const ColorBtnState& state);

}  // namespace mxc9
