#include "tools/mxc9ctl/PageReport.h"

#include <cstdio>

#include "editor/FrequencyTable.h"
#include "editor/ScreenModel.h"
#include "pages/SettingsFile.h"
#include "platform/Cp932.h"

namespace mxc9::ctl {

namespace {

constexpr int kLabelWidth = 15;  // "Brake Frequency", "Current Limiter"
constexpr int kFrequencyColumns = 4;

std::string Line(const std::string& label, const std::string& value) {
    std::string line = "  " + label;
    line.append(static_cast<size_t>(kLabelWidth + 2) - label.size(), ' ');
    return line + value + "\n";
}

std::string ListText(ListId list, int index) {
    const std::vector<std::string> items = ListItems(list);
    if (index >= 0 && index < static_cast<int>(items.size()))
        return items[static_cast<size_t>(index)];
    return std::to_string(index) + " (outside 0.." + std::to_string(items.size() - 1) +
           ": the list shows no entry)";
}

std::string NeutralBrakeText(int position) {
    if (position >= 0 && position <= kNeutralBrakeMax) return NeutralBrakeCaption(position);
    const int shown = position < 0 ? 0 : kNeutralBrakeMax;
    return std::to_string(position) + " (outside 0.." + std::to_string(kNeutralBrakeMax) +
           ": shows " + NeutralBrakeCaption(shown) + ")";
}

// "  1: 35  3.98kHz", or the code and what the bar shows instead.
std::string FrequencyCell(int bar, int code) {
    char text[64];
    if (code >= 0 && code <= kMaxFrequencyCode) {
        std::snprintf(text, sizeof text, "%3d: %2d %skHz", bar + 1, code,
                      FrequencyLabel(code).c_str());
    } else {
        const int shown = code < 0 ? 0 : kMaxFrequencyCode;
        std::snprintf(text, sizeof text, "%3d: %d (shows %d)", bar + 1, code, shown);
    }
    return text;
}

constexpr size_t kFrequencyCellWidth = 19;

}  // namespace

std::string PageTable(const NamedPage& page, int number) {
    const TMXC9Data& r = page.record;
    std::string out = "Page " + std::to_string(number) + ": " + SanitizeUtf8(page.name) + "\n";
    out += Line("Neutral Brake", NeutralBrakeText(r.nBrake));
    out += Line("Brake Frequency", ListText(ListId::Brake, r.brkFq));
    out += Line("Power Save", ListText(ListId::CutVt, r.cutVt));
    out += Line("TH.Response", ListText(ListId::Response, r.respons));
    out += Line("Current Limiter", ListText(ListId::Current, r.curLim));
    out += "  Frequency\n";
    for (int bar = 0; bar < kFrequencyBars; ++bar) {
        std::string cell = FrequencyCell(bar, r.freq[static_cast<size_t>(bar)]);
        const bool last = (bar + 1) % kFrequencyColumns == 0 || bar + 1 == kFrequencyBars;
        if (!last && cell.size() < kFrequencyCellWidth) cell.resize(kFrequencyCellWidth, ' ');
        out += (bar % kFrequencyColumns == 0 ? "  " : " ") + cell + (last ? "\n" : "");
    }
    const std::vector<std::string> lines = SplitCommentLines(r.comment);
    if (lines.empty()) return out + Line("Comment", "(none)");
    out += "  Comment\n";
    for (const std::string& line : lines) out += "    " + SanitizeUtf8(line) + "\n";
    return out;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (char c : SanitizeUtf8(text)) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string PagesJson(const std::vector<NamedPage>& pages) {
    std::string out = "{\"pages\": [";
    for (size_t i = 0; i < pages.size(); ++i) {
        const TMXC9Data& r = pages[i].record;
        out += i == 0 ? "\n" : ",\n";
        out += "  {\"NAME\": " + JsonString(pages[i].name);
        out += ", \"N.BRAKE\": " + std::to_string(r.nBrake);
        out += ", \"BRK.FQ\": " + std::to_string(r.brkFq);
        out += ", \"CUT.VT\": " + std::to_string(r.cutVt);
        out += ", \"RESPONS\": " + std::to_string(r.respons);
        out += ", \"CUR.LIM\": " + std::to_string(r.curLim);
        out += ", \"FREQ\": [";
        for (size_t k = 0; k < r.freq.size(); ++k)
            out += (k == 0 ? "" : ", ") + std::to_string(r.freq[k]);
        out += "], \"Comment\": " + JsonString(r.comment) + "}";
    }
    return out + (pages.empty() ? "]}\n" : "\n]}\n");
}

}  // namespace mxc9::ctl
