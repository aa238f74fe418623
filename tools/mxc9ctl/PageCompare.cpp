#include "tools/mxc9ctl/PageCompare.h"

#include <array>

#include "device/Conversions.h"
#include "platform/Cp932.h"
#include "tools/mxc9ctl/PageReport.h"

namespace mxc9::ctl {

namespace {

// The five settings: their key, their record field and their place in the device image.
struct Setting {
    const char* key;
    int32_t TMXC9Data::*field;
    int imageIndex;
};

constexpr std::array<Setting, 5> kSettings = {{
    {"N.BRAKE", &TMXC9Data::nBrake, kImageNeutralBrake},
    {"BRK.FQ", &TMXC9Data::brkFq, kImageBrakeFrequency},
    {"CUT.VT", &TMXC9Data::cutVt, kImageCutOff},
    {"RESPONS", &TMXC9Data::respons, kImageResponse},
    {"CUR.LIM", &TMXC9Data::curLim, kImageCurrentLimit},
}};

std::string FrequencyKey(size_t k) {
    return "FREQ" + std::to_string(k);
}

void Compare(std::vector<FieldDifference>& out, const std::string& field, int32_t first,
             int32_t second) {
    if (first != second) out.push_back({field, std::to_string(first), std::to_string(second)});
}

}  // namespace

std::vector<FieldDifference> DiffPages(const TMXC9Data& first, const TMXC9Data& second) {
    std::vector<FieldDifference> out;
    for (const Setting& setting : kSettings)
        Compare(out, setting.key, first.*setting.field, second.*setting.field);
    for (size_t k = 0; k < first.freq.size(); ++k)
        Compare(out, FrequencyKey(k), first.freq[k], second.freq[k]);
    if (first.comment != second.comment)
        out.push_back({"Comment", JsonString(Cp932ToUtf8(first.comment)),
                       JsonString(Cp932ToUtf8(second.comment))});
    return out;
}

std::optional<FieldDifference> FirstImageDifference(const DeviceImage& written,
                                                    const DeviceImage& readBack) {
    std::vector<std::pair<std::string, int>> bytes;
    for (const Setting& setting : kSettings) bytes.emplace_back(setting.key, setting.imageIndex);
    for (size_t k = 0; k < kImageValues - kImageFirstFrequency; ++k)
        bytes.emplace_back(FrequencyKey(k), kImageFirstFrequency + static_cast<int>(k));
    for (const auto& [field, index] : bytes) {
        // On the line each value is its low 8 bits.
        const int sent = written[static_cast<size_t>(index)] & 0xFF;
        const int held = readBack[static_cast<size_t>(index)] & 0xFF;
        if (sent != held) return FieldDifference{field, std::to_string(sent), std::to_string(held)};
    }
    return std::nullopt;
}

}  // namespace mxc9::ctl
