#include "editor/FrequencyTable.h"

#include <array>

namespace mxc9 {
namespace {

// Measured values of the controller; they follow no formula.
const std::array<std::string, kFrequencyCodes> kLabels = {
    " 0.93", " 0.97", " 1.00", " 1.03", " 1.07", " 1.11", " 1.16", " 1.20",  //
    " 1.25", " 1.31", " 1.37", " 1.45", " 1.52", " 1.61", " 1.70", " 1.80",  //
    " 1.85", " 1.92", " 1.98", " 2.03", " 2.10", " 2.19", " 2.28", " 2.37",  //
    " 2.47", " 2.58", " 2.70", " 2.81", " 2.96", " 3.12", " 3.29", " 3.45",  //
    " 3.62", " 3.73", " 3.86", " 3.98", " 4.14", " 4.27", " 4.42", " 4.57",  //
    " 4.80", " 4.97", " 5.20", " 5.41", " 5.71", " 5.96", " 6.30", " 6.63",  //
    " 6.93", " 7.14", " 7.28", " 7.51", " 7.85", " 8.07", " 8.34", " 8.68",  //
    " 8.98", " 9.35", " 9.60", " 9.98", "10.60", "10.88", "11.45", "12.00",
};

const std::string kNone;

}  // namespace

const std::string& FrequencyLabel(int code) {
    if (code < 0 || code >= kFrequencyCodes) return kNone;
    return kLabels[static_cast<size_t>(code)];
}

}  // namespace mxc9
