// Code page 932 in the browser: the browser's own "shift_jis" decoder, which is Windows'
// code page 932 (the NEC and IBM extensions and the user-defined area included). The
// decoder fills a table of every code once; the reverse table is made from it, so no
// mapping is written down here. Where several codes give one character (the NEC and IBM
// duplicates), the character is written back with the code Windows writes: the first
// code outside the NEC-selected IBM rows ED and EE. The single bytes 80, A0 and FD..FF
// start no character of the code page, as in the other builds.
#include <emscripten.h>

#include <array>
#include <cstdint>

#include "platform/Cp932System.h"

namespace mxc9::cp932_system {

namespace {

// clang-format off
// Decodes every single-byte and two-byte code (lead << 8 | trail) into `table`, a
// 65536-entry array of UTF-16 units; 0 where the code is none. Every CP932 character is
// one unit of the Basic Multilingual Plane.
EM_JS(void, FillCodeTable, (uint16_t* table), {
    const decoder = new TextDecoder("shift_jis");
    const base = table >> 1;
    const one = new Uint8Array(1);
    for (let byte = 0; byte < 0x100; ++byte) {
        if (byte === 0x80) continue;
        one[0] = byte;
        const text = decoder.decode(one);
        if (text.length === 1 && text !== "\uFFFD") HEAPU16[base + byte] = text.charCodeAt(0);
    }
    const two = new Uint8Array(2);
    for (let lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) continue;
        for (let trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail === 0x7F) continue;
            two[0] = lead;
            two[1] = trail;
            const text = decoder.decode(two);
            if (text.length === 1 && text !== "\uFFFD")
                HEAPU16[base + (lead << 8 | trail)] = text.charCodeAt(0);
        }
    }
});
// clang-format on

bool IsLeadByte(unsigned c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

struct Tables {
    std::array<uint16_t, 0x10000> decode{};  // code -> UTF-16 unit, 0: none
    std::array<uint16_t, 0x10000> encode{};  // UTF-16 unit -> code, 0: none (NUL aside)

    Tables() {
        FillCodeTable(decode.data());
        for (int pass = 0; pass < 2; ++pass) {
            for (unsigned code = 1; code < 0x10000; ++code) {
                const unsigned lead = code >> 8;
                if (decode[code] == 0 || ((lead == 0xED || lead == 0xEE) != (pass == 1))) continue;
                if (encode[decode[code]] == 0) encode[decode[code]] = static_cast<uint16_t>(code);
            }
        }
    }
};

const Tables& CodeTables() {
    static const Tables tables;
    return tables;
}

void AppendUtf8(uint32_t unit, std::string& utf8) {
    if (unit < 0x80) {
        utf8 += static_cast<char>(unit);
    } else if (unit < 0x800) {
        utf8 += static_cast<char>(0xC0 | (unit >> 6));
        utf8 += static_cast<char>(0x80 | (unit & 0x3F));
    } else {
        utf8 += static_cast<char>(0xE0 | (unit >> 12));
        utf8 += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (unit & 0x3F));
    }
}

}  // namespace

size_t Cp932PrefixToUtf8(std::string_view input, std::string& utf8) {
    const Tables& tables = CodeTables();
    size_t done = 0;
    while (done < input.size()) {
        const auto lead = static_cast<unsigned char>(input[done]);
        if (lead == 0) {
            utf8 += '\0';
            ++done;
            continue;
        }
        unsigned code = lead;
        size_t length = 1;
        if (IsLeadByte(lead)) {
            if (done + 1 >= input.size()) break;
            code = lead << 8 | static_cast<unsigned char>(input[done + 1]);
            length = 2;
        }
        const uint16_t unit = tables.decode[code];
        if (unit == 0) break;
        AppendUtf8(unit, utf8);
        done += length;
    }
    return done;
}

size_t Utf8PrefixToCp932(std::string_view input, std::string& cp932) {
    const Tables& tables = CodeTables();
    size_t done = 0;
    while (done < input.size()) {
        const size_t length = Utf8SequenceLength(input.substr(done));
        if (length == 0 || length == 4) break;  // no CP932 character is outside the BMP
        uint32_t unit = static_cast<unsigned char>(input[done]);
        if (length > 1) {
            unit &= 0x7F >> length;
            for (size_t i = 1; i < length; ++i)
                unit = unit << 6 | (static_cast<unsigned char>(input[done + i]) & 0x3F);
        }
        if (unit == 0) {
            cp932 += '\0';
        } else {
            const uint16_t code = tables.encode[unit];
            if (code == 0) break;
            if (code > 0xFF) cp932 += static_cast<char>(code >> 8);
            cp932 += static_cast<char>(code & 0xFF);
        }
        done += length;
    }
    return done;
}

}  // namespace mxc9::cp932_system
