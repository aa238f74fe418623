// One page's settings as the controls hold them (scroll-bar positions, list indices),
// and the record holding the defaults.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "editor/Defaults.h"

namespace mxc9 {

struct TMXC9Data {
    int32_t nBrake = 0;              // "N.BRAKE": NBRK_BAR position
    int32_t brkFq = 0;               // "BRK.FQ": BRK_LIST index
    int32_t cutVt = 0;               // "CUT.VT": CUTVT_LIST index
    int32_t respons = 0;             // "RESPONS": RES_LIST index
    int32_t curLim = 0;              // "CUR.LIM": CUR_LIST index
    std::array<int32_t, 32> freq{};  // "FREQ0".."FREQ31": FRQ_1..FRQ_32 positions
    std::string comment;             // CP932 bytes, lines separated by CR LF

    bool operator==(const TMXC9Data&) const = default;
};

// A record holding the defaults and an empty comment.
inline TMXC9Data DefaultPage() {
    TMXC9Data page;
    page.nBrake = Defaults::kNBrake;
    page.brkFq = Defaults::kBrkFq;
    page.cutVt = Defaults::kCutVt;
    page.respons = Defaults::kRespons;
    page.curLim = Defaults::kCurLim;
    page.freq.fill(Defaults::kFreq);
    return page;
}

}  // namespace mxc9
