#include "host/core/ui/display_text.h"

#include "platform/text_encoding.h"

namespace host {

DisplayText::DisplayText(std::string_view utf8) {
    if (!utf8.empty()) {
        parts_.push_back({false, std::string(utf8)});
    }
}

DisplayText DisplayText::FromUtf8(std::string_view utf8) { return DisplayText(utf8); }

DisplayText DisplayText::FromCp932(std::string_view cp932) {
    DisplayText text;
    if (!cp932.empty()) {
        text.parts_.push_back({true, std::string(cp932)});
    }
    return text;
}

DisplayText& DisplayText::operator+=(const DisplayText& more) {
    parts_.insert(parts_.end(), more.parts_.begin(), more.parts_.end());
    return *this;
}

bool DisplayText::empty() const { return parts_.empty(); }

std::string DisplayText::utf8() const {
    std::string out;
    for (const Part& part : parts_) {
        out += part.cp932 ? platform::Cp932ToUtf8(part.bytes) : part.bytes;
    }
    return out;
}

std::string DisplayText::cp932() const {
    std::string out;
    for (const Part& part : parts_) {
        out += part.cp932 ? part.bytes : platform::Utf8ToCp932(part.bytes);
    }
    return out;
}

}  // namespace host
