#include "common/DefaultErrorBox.h"

#include "common/MessageTable.h"

namespace mxc9 {
namespace {

std::string& TitleSlot() {
    static std::string title = kApplicationTitle;
    return title;
}

// The code point of the last UTF-8 character of a non-empty text.
char32_t LastCharacter(const std::string& text) {
    size_t start = text.size() - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
    const auto lead = static_cast<unsigned char>(text[start]);
    char32_t value;
    size_t length;
    if (lead < 0x80) {
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        value = lead & 0x1F;
        length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        value = lead & 0x0F;
        length = 3;
    } else {
        value = lead & 0x07;
        length = 4;
    }
    for (size_t i = 1; i < length && start + i < text.size(); ++i)
        value = (value << 6) | (static_cast<unsigned char>(text[start + i]) & 0x3F);
    return value;
}

}  // namespace

const std::string& ApplicationTitle() {
    return TitleSlot();
}

void SetApplicationTitle(const std::string& title) {
    TitleSlot() = title;
}

std::string DefaultErrorText(const std::string& message) {
    if (!message.empty() && LastCharacter(message) > U'.') return message + ".";
    return message;
}

void ShowDefaultError(IMessageBoxes& boxes, const std::string& message) {
    boxes.show(DefaultErrorText(message), ApplicationTitle(), MbIcon::Error, MbButtons::Ok);
}

}  // namespace mxc9
