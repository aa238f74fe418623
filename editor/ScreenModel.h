// The page on screen: the values of the editing controls, which are the working copy of
// the page of the selected tab. The window's widgets mirror this model; everything that
// reads or sets a control (page store, file reader, curve tools, device transfers, the
// command-line tool) goes through it, so all of them meet the same control rules:
//  - a scroll bar clamps a value set by the program to its range;
//  - a list given an index outside its items shows no selection and reads back -1;
//  - setting a value equal to the current one raises no change event.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace mxc9 {

enum class ListId { Brake = 0, CutVt = 1, Response = 2, Current = 3 };

inline constexpr int kFrequencyBars = 32;
inline constexpr int kAverageBarTag = 32;
inline constexpr int kNeutralBrakeMax = 100;

// Item texts of the four lists, in item index order.
int ListItemCount(ListId list);
std::vector<std::string> ListItems(ListId list);
// "01:  0.93kHz" .. "64: 12.00kHz": item n of the brake frequency list.
std::string BrakeFrequencyItem(int index);
// The neutral brake caption: "OFF" for 0, else the number.
std::string NeutralBrakeCaption(int position);

class ScreenModel {
  public:
    // Told after a value actually changed; the Qt side mirrors it into a widget.
    class Listener {
      public:
        virtual ~Listener() = default;
        virtual void barChanged(int /*index*/) {}
        virtual void averageChanged() {}
        virtual void neutralBrakeChanged() {}  // position and caption
        virtual void listChanged(ListId /*list*/) {}
        virtual void commentChanged() {}
    };

    ScreenModel();

    void setListener(Listener* listener) { listener_ = listener; }
    Listener* listener() const { return listener_; }

    // Frequency bars FRQ_1..FRQ_32 (index 0..31), positions 0..63.
    int bar(int index) const { return bars_.at(static_cast<size_t>(index)); }
    void setBar(int index, int position);
    // The average bar AVG_BAR, 0..63.
    int averageBar() const { return average_; }
    void setAverageBar(int position);

    // NBRK_BAR position 0..100 and the caption NBRK_CAP that its change event writes.
    int neutralBrake() const { return neutralBrake_; }
    void setNeutralBrake(int position);
    const std::string& neutralBrakeCaption() const { return neutralBrakeCaption_; }

    // Item index of a list, -1 when it shows no selection.
    int listIndex(ListId list) const { return lists_[static_cast<size_t>(list)]; }
    void setListIndex(ListId list, int index);

    // Text of the Comment memo as CP932 bytes (a settings file's bytes, kept as read),
    // lines separated by CR LF; the window converts it for display.
    const std::string& comment() const { return comment_; }
    void setComment(const std::string& text);

  private:
    Listener* listener_ = nullptr;
    std::array<int, kFrequencyBars> bars_{};
    int average_ = 32;
    int neutralBrake_ = 0;
    std::string neutralBrakeCaption_ = "OFF";
    std::array<int, 4> lists_{};
    std::string comment_;
};

// The mean of the 32 frequency bar positions, remainder dropped (0..63).
int AverageCode(const ScreenModel& screen);

}  // namespace mxc9
