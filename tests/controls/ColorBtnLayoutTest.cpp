// Caption placement, edge lines and focus rectangle of the colour button, without a display.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "controls/ColorBtnLayout.h"

namespace mxc9 {
namespace {

ColorBtnState Button(int width, int height) {
    ColorBtnState s;
    s.clientWidth = width;
    s.clientHeight = height;
    return s;
}

struct CaptionCase {
    const char* name;
    ColorBtnState state;
    int textHeight;
    PixelRect expected;
};

ColorBtnState With(ColorBtnState s, TNHAlignment h, TNVAlignment v) {
    s.capAlignH = h;
    s.capAlignV = v;
    return s;
}

ColorBtnState Loose(ColorBtnState s) {
    s.capFixed = false;
    return s;
}

const std::vector<CaptionCase>& CaptionCases() {
    static const std::vector<CaptionCase> cases = [] {
        const ColorBtnState ok = Button(75, 25);
        std::vector<CaptionCase> c;
        c.push_back({"centred both ways", ok, 12, {0, 6, 75, 18}});
        c.push_back({"left and top keep a margin", With(ok, haLeft, vaTop), 12, {5, 4, 80, 16}});
        c.push_back(
            {"right and bottom keep a margin", With(ok, haRight, vaBottom), 12, {-5, 8, 70, 20}});
        // (24 - 13) / 2 = 5 and (10 - 13) / 2 = -1: the halving truncates toward zero.
        c.push_back({"odd spare height rounds down", Button(75, 24), 13, {0, 5, 75, 18}});
        c.push_back(
            {"taller text than button rounds toward zero", Button(75, 10), 13, {0, -1, 75, 12}});
        c.push_back({"idle loose caption steps toward its left top corner",
                     Loose(With(ok, haLeft, vaTop)),
                     12,
                     {4, 3, 79, 15}});
        c.push_back({"idle loose caption steps toward its right bottom corner",
                     Loose(With(ok, haRight, vaBottom)),
                     12,
                     {-4, 9, 71, 21}});
        c.push_back({"a centred loose caption does not step", Loose(ok), 12, {0, 6, 75, 18}});
        ColorBtnState focused = Loose(With(ok, haLeft, vaTop));
        focused.focused = true;
        c.push_back({"a focused loose caption stays put", focused, 12, {5, 4, 80, 16}});
        ColorBtnState active = Loose(With(ok, haLeft, vaTop));
        active.active = true;
        c.push_back({"an active loose caption stays put", active, 12, {5, 4, 80, 16}});
        ColorBtnState flat = Loose(With(ok, haLeft, vaTop));
        flat.buttonStyle = bsIELike;
        c.push_back({"only the classic style loosens the caption", flat, 12, {5, 4, 80, 16}});
        ColorBtnState offset = ok;
        offset.capOffsetH = 3;
        offset.capOffsetV = -2;
        c.push_back({"offsets shift the caption", offset, 12, {3, 4, 78, 16}});
        ColorBtnState pressed = offset;
        pressed.pressed = true;
        c.push_back({"pressing shifts one pixel right and down", pressed, 12, {4, 5, 79, 17}});
        ColorBtnState all = Loose(With(ok, haRight, vaBottom));
        all.capOffsetH = -1;
        all.capOffsetV = 2;
        all.pressed = true;
        c.push_back({"all shifts add up", all, 12, {-4, 12, 71, 24}});
        return c;
    }();
    return cases;
}

TEST(ColorBtnCaption, IsPlacedByAlignmentOffsetsAndState) {
    for (const CaptionCase& c : CaptionCases()) {
        const PixelRect r = CaptionRect(c.state, c.textHeight);
        EXPECT_EQ(r, c.expected) << c.name << ": got (" << r.left << ", " << r.top << ", "
                                 << r.right << ", " << r.bottom << ")";
    }
}

TEST(ColorBtnCaption, TextComesFromCaptionOrJoinedLines) {
    struct Case {
        std::string caption;
        std::vector<std::string> lines;
        std::string expected;
    };
    const Case cases[] = {
        {"OK", {}, "OK"},
        {"OK", {"first", "second"}, "OK"},
        {"", {"first", "second"}, "first\nsecond"},
        {"", {"only"}, "only"},
        {"", {"", "below an empty line"}, "\nbelow an empty line"},
        {"", {}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(CaptionText(c.caption, c.lines), c.expected);
}

// Rasterises the edge lines into rows of characters: F frame, H highlight, S shadow.
std::vector<std::string> Picture(const ColorBtnState& s) {
    std::vector<std::string> rows(s.clientHeight, std::string(s.clientWidth, '.'));
    for (const EdgeLine& line : EdgeLines(s)) {
        const char mark = line.color == EdgeColor::Frame       ? 'F'
                          : line.color == EdgeColor::Highlight ? 'H'
                                                               : 'S';
        for (int y = line.pixels.top; y < line.pixels.bottom; ++y)
            for (int x = line.pixels.left; x < line.pixels.right; ++x) rows.at(y).at(x) = mark;
    }
    return rows;
}

struct EdgeCase {
    const char* name;
    TButtonStyle style;
    bool active, focused, pressed, mouseInside;
    std::vector<std::string> expected;
};

TEST(ColorBtnEdges, FollowStyleAndState) {
    const std::vector<EdgeCase> cases = {
        {"classic idle: raised",
         bsStd,
         false,
         false,
         false,
         false,
         {"HHHHHHF", "H....SF", "H....SF", "HSSSSSF", "FFFFFFF"}},
        {"classic active: framed and raised",
         bsStd,
         true,
         false,
         false,
         false,
         {"FFFFFFF", "FHHHHFF", "FHSSSFF", "FFFFFFF", "FFFFFFF"}},
        {"classic focused: framed and raised",
         bsStd,
         false,
         true,
         false,
         false,
         {"FFFFFFF", "FHHHHFF", "FHSSSFF", "FFFFFFF", "FFFFFFF"}},
        {"classic pressed: framed and flat shadow",
         bsStd,
         true,
         true,
         true,
         false,
         {"FFFFFFF", "FSSSSSF", "FS...SF", "FSSSSSF", "FFFFFFF"}},
        {"classic pressed without focus: flat shadow",
         bsStd,
         false,
         false,
         true,
         false,
         {"SSSSSSS", "S.....S", "S.....S", "S.....S", "SSSSSSS"}},
        {"flat away from the pointer: no edge",
         bsIELike,
         true,
         true,
         false,
         false,
         {".......", ".......", ".......", ".......", "......."}},
        {"flat under the pointer: raised",
         bsIELike,
         false,
         false,
         false,
         true,
         {"HHHHHHS", "H.....S", "H.....S", "H.....S", "SSSSSSS"}},
        {"flat pressed: sunken",
         bsIELike,
         false,
         false,
         true,
         true,
         {"SSSSSSH", "S.....H", "S.....H", "S.....H", "HHHHHHH"}},
        {"no edge style",
         bsNone,
         true,
         true,
         true,
         true,
         {".......", ".......", ".......", ".......", "......."}},
    };
    for (const EdgeCase& c : cases) {
        ColorBtnState s = Button(7, 5);
        s.buttonStyle = c.style;
        s.active = c.active;
        s.focused = c.focused;
        s.pressed = c.pressed;
        s.mouseInside = c.mouseInside;
        EXPECT_EQ(Picture(s), c.expected) << c.name;
    }
}

TEST(ColorBtnEdges, TinyButtonDrawsOnlyWhatFits) {
    for (int width = 0; width <= 3; ++width)
        for (int height = 0; height <= 3; ++height) {
            ColorBtnState s = Button(width, height);
            s.active = true;
            for (const EdgeLine& line : EdgeLines(s)) {
                EXPECT_GE(line.pixels.left, 0);
                EXPECT_GE(line.pixels.top, 0);
                EXPECT_LE(line.pixels.right, width);
                EXPECT_LE(line.pixels.bottom, height);
                EXPECT_GT(line.pixels.width(), 0);
                EXPECT_GT(line.pixels.height(), 0);
            }
        }
}

TEST(ColorBtnFocusLine, DrawnInsideTheEdgeOnlyWhenActiveAndFocused) {
    struct Case {
        TButtonStyle style;
        bool focusline, active, focused;
        std::optional<PixelRect> expected;
    };
    const Case cases[] = {
        {bsStd, true, true, true, PixelRect{4, 4, 71, 21}},
        {bsIELike, true, true, true, PixelRect{2, 2, 73, 23}},
        {bsNone, true, true, true, PixelRect{0, 0, 75, 25}},
        {bsStd, false, true, true, std::nullopt},
        {bsStd, true, false, true, std::nullopt},
        {bsStd, true, true, false, std::nullopt},
    };
    for (const Case& c : cases) {
        ColorBtnState s = Button(75, 25);
        s.buttonStyle = c.style;
        s.focusline = c.focusline;
        s.active = c.active;
        s.focused = c.focused;
        EXPECT_EQ(FocusRect(s), c.expected)
            << "style " << int(c.style) << " focusline " << c.focusline << " active " << c.active
            << " focused " << c.focused;
    }
}

}  // namespace
}  // namespace mxc9
