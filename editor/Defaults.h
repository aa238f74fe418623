// The defaults table: new pages, missing settings-file keys and the value resets.
#pragma once

#include <cstdint>

namespace mxc9 {

// In the table's order: VER, N.BRAKE, BRK.FQ, CUT.VT, RESPONS, CUR.LIM, FREQ.
struct Defaults {
    static constexpr int32_t kVer = 1;
    static constexpr int32_t kNBrake = 0;
    static constexpr int32_t kBrkFq = 31;
    static constexpr int32_t kCutVt = 2;
    static constexpr int32_t kRespons = 0;
    static constexpr int32_t kCurLim = 12;
    static constexpr int32_t kFreq = 35;
};

}  // namespace mxc9
