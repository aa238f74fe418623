// The frequency map editor's rules, without widgets: the selection of a run of bars,
// the group scroll, the average-bar scroll, the key decisions, the selection gauge and
// the three readouts. The window forwards every event of FRQ_1..FRQ_32 and AVG_BAR here
// and shows what the editor reports through its Listener.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "editor/EditorDisplay.h"
#include "editor/ScreenModel.h"
#include "platform/Seams.h"

namespace mxc9 {

// Windows virtual-key codes of the keys the editor looks at.
inline constexpr uint16_t kVkShift = 16;
inline constexpr uint16_t kVkLeft = 37;
inline constexpr uint16_t kVkUp = 38;
inline constexpr uint16_t kVkRight = 39;
inline constexpr uint16_t kVkDown = 40;

// Scroll request codes of a scroll bar, in the order the platform numbers them.
enum ScrollCode : int {
    scLineUp = 0,
    scLineDown = 1,
    scPageUp = 2,
    scPageDown = 3,
    scPosition = 4,
    scTrack = 5,
    scTop = 6,
    scBottom = 7,
    scEndScroll = 8,
};

// A COLORREF (0x00BBGGRR) and the colour it stands for.
struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
constexpr Rgb FromColorRef(uint32_t colorRef) {
    return Rgb{static_cast<uint8_t>(colorRef & 0xFF), static_cast<uint8_t>((colorRef >> 8) & 0xFF),
               static_cast<uint8_t>((colorRef >> 16) & 0xFF)};
}
// Gauge colour table: entry 0 marks a cell inside the range, entry 1 every other cell.
inline constexpr std::array<uint32_t, 2> kGaugeColors = {0x0000FF00u, 0x00800000u};

// The picture shown in Select_Gage1 and Select_Gage2: 545 x 7 pixels, 8-bit RGB rows.
class SelectionGauge {
  public:
    static constexpr int kWidth = 545;
    static constexpr int kHeight = 7;
    static constexpr int kCellPitch = 17;

    SelectionGauge();  // the base picture: frame, separators, black cells
    Rgb pixel(int x, int y) const;
    const uint8_t* data() const { return pixels_.data(); }
    static constexpr int bytesPerLine() { return kWidth * 3; }
    // Cell i is marked when it lies in lo..hi, both taken as their low 8 bits unsigned.
    void paintCells(int lo, int hi);

  private:
    void fill(int left, int top, int right, int bottom, Rgb colour);  // right, bottom exclusive
    std::array<uint8_t, kWidth * kHeight * 3> pixels_{};
};

// The texts of FRQ_VALUE, FRQ_LEVEL and FRQ_NAME.
struct Readouts {
    std::string value = "-----";
    std::string level = "-----";
    std::string name = "-----";
    bool operator==(const Readouts&) const = default;
};

// Where a key on a frequency bar sends the focus.
enum class FocusMove { None, Previous, Next };

class FrequencyEditor : public EditorDisplay {
  public:
    class Listener {
      public:
        virtual ~Listener() = default;
        virtual void gaugeChanged() {}
        virtual void readoutsChanged() {}
    };

    FrequencyEditor(ScreenModel& screen, IKeyboardState& keyboard);

    void setListener(Listener* listener) { listener_ = listener; }
    SelectionState& selection() { return selection_; }
    const SelectionState& selection() const { return selection_; }
    const SelectionGauge& gauge() const { return gauge_; }
    const Readouts& readouts() const { return readouts_; }

    // A frequency bar (tag 0..31) or the average bar (tag 32) receives the focus.
    void FRQ_Enter(int tag);
    // A frequency bar loses the focus.
    void FRQ_Exit(int index);
    // A key goes down on bar `index`. `key` is in-out: 0 swallows it. The result says
    // whether the window moves the focus to the previous or next control.
    FocusMove FRQ_KeyDown(int index, uint16_t& key);
    void FRQ_KeyUp(int index);
    // A scroll request on bar `index`; `scrollPos` is in-out, the bar takes it afterwards.
    void FRQ_Scroll(int index, int scrollCode, int& scrollPos);
    // A scroll request on the average bar.
    void AVG_BARScroll(int scrollCode, int& scrollPos);

    void DrawSelectionGauge(int a, int b) override;
    void ShowReadouts(int index) override;

  private:
    ScreenModel& screen_;
    IKeyboardState& keyboard_;
    Listener* listener_ = nullptr;
    SelectionState selection_;
    SelectionGauge gauge_;
    Readouts readouts_;
};

// The readout texts for a bar index and its code; the average bar is index 32.
Readouts ReadoutsFor(int index, int code);

}  // namespace mxc9
