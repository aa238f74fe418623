// The page store: one setting record per tab, in tab order, and the operations that move
// a page between the store and the page on screen.
#pragma once

#include <string>
#include <vector>

#include "editor/EditorDisplay.h"
#include "editor/ScreenModel.h"
#include "pages/PageRecord.h"
#include "platform/Seams.h"

namespace mxc9 {

class PageStore {
  public:
    PageStore(ScreenModel& screen, EditorDisplay& display) : screen_(screen), display_(display) {}

    int size() const { return static_cast<int>(records_.size()); }
    TMXC9Data& record(int i) { return records_.at(static_cast<size_t>(i)); }
    const TMXC9Data& record(int i) const { return records_.at(static_cast<size_t>(i)); }
    std::vector<TMXC9Data>& records() { return records_; }

    // The store's length becomes `length`; existing records keep their values, new ones
    // are blank (integers 0, comment empty).
    void resize(int length) { records_.resize(static_cast<size_t>(length < 0 ? 0 : length)); }
    // GrowPages(n) with the number of tabs given by the caller.
    void GrowPages(int tabCount, int n) { resize(tabCount + n); }
    void remove(int i) { records_.erase(records_.begin() + i); }

    // Record i := the defaults. The screen is not touched.
    void InitPage(int i) { record(i) = DefaultPage(); }
    // Record i := the screen (nothing when the store is empty).
    void SaveScreenToPage(int i);
    // The screen := record i, then the average bar and an empty gauge (nothing when empty).
    void LoadPageToScreen(int i);

  private:
    ScreenModel& screen_;
    EditorDisplay& display_;
    std::vector<TMXC9Data> records_;
};

// year "_" month "_" day "_" s, numbers without leading zeros: 2004_3_7_DATA1.
std::string DatedFileName(const LocalDate& date, const std::string& s);

}  // namespace mxc9
