// Field-by-field comparison for mxc9ctl: two pages of settings files (diff), and the image
// written to the controller against the one read back (write --verify). Fields are named
// by their keys in the settings file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "device/DeviceLink.h"
#include "pages/PageRecord.h"

namespace mxc9::ctl {

struct FieldDifference {
    std::string field;  // "N.BRAKE", "FREQ5", "Comment"
    std::string first, second;
};

// The fields of two page records that differ, in file order: the five settings, FREQ0 ..
// FREQ31, the comment (as a JSON string literal, so that it stays on one line). The
// page names are not compared: they tell pages apart rather than settings.
std::vector<FieldDifference> DiffPages(const TMXC9Data& first, const TMXC9Data& second);

// The first byte the page holds (the five settings, then FREQ0 .. FREQ31) in which the
// controller's image differs from the image written; the values are the bytes sent and
// read back. Pass-through bytes are not the page's and are not compared.
std::optional<FieldDifference> FirstImageDifference(const DeviceImage& written,
                                                    const DeviceImage& readBack);

}  // namespace mxc9::ctl
