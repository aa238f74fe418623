#include "pages/PageStore.h"

namespace mxc9 {

void PageStore::SaveScreenToPage(int i) {
    if (records_.empty()) return;
    TMXC9Data& page = record(i);
    page.nBrake = screen_.neutralBrake();
    page.brkFq = screen_.listIndex(ListId::Brake);
    page.cutVt = screen_.listIndex(ListId::CutVt);
    page.respons = screen_.listIndex(ListId::Response);
    page.curLim = screen_.listIndex(ListId::Current);
    for (int k = 0; k < kFrequencyBars; ++k) page.freq[static_cast<size_t>(k)] = screen_.bar(k);
    page.comment = screen_.comment();
}

void PageStore::LoadPageToScreen(int i) {
    if (records_.empty()) return;
    const TMXC9Data& page = record(i);
    screen_.setNeutralBrake(page.nBrake);
    screen_.setListIndex(ListId::Brake, page.brkFq);
    screen_.setListIndex(ListId::CutVt, page.cutVt);
    screen_.setListIndex(ListId::Response, page.respons);
    screen_.setListIndex(ListId::Current, page.curLim);
    for (int k = 0; k < kFrequencyBars; ++k) screen_.setBar(k, page.freq[static_cast<size_t>(k)]);
    screen_.setComment(page.comment);
    screen_.setAverageBar(AverageCode(screen_));
    display_.DrawSelectionGauge(-1, -1);
}

std::string DatedFileName(const LocalDate& date, const std::string& s) {
    return std::to_string(date.year) + "_" + std::to_string(date.month) + "_" +
           std::to_string(date.day) + "_" + s;
}

}  // namespace mxc9
