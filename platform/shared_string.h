// The growable byte string that crosses XfmRegExp: the host owns it, the plug-in reads the
// whole text and replaces it. It is the contract's XfmText with the program's functions in it:
// every member reaches the text through those functions, so whichever module calls them (the
// program, or a plug-in with its own copy of this code) the text is read, grown and freed by
// the code and the allocator of the module that made it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "xfm_plugin.h"

namespace platform {

class SharedString : public XfmText {
public:
    SharedString();
    explicit SharedString(std::string_view text);
    SharedString(const SharedString&) = delete;
    SharedString& operator=(const SharedString&) = delete;
    ~SharedString();

    // The bytes, followed by a zero byte that is not part of the text.
    const char* data() const { return TextData(this); }
    std::size_t size() const { return TextLength(this); }
    std::string_view view() const { return TextView(this); }

    // False, with the text unchanged, when it cannot hold `length` bytes.
    bool assign(const char* bytes, std::size_t length) { return AssignText(this, bytes, length); }
    bool assign(std::string_view text) { return assign(text.data(), text.size()); }
    void clear() { assign(nullptr, 0); }

    // What a plug-in does with the host's text object, through the host's functions.
    static const char* TextData(const XfmText* text) { return text->functions->data(text); }
    static std::size_t TextLength(const XfmText* text) { return text->functions->length(text); }
    static std::string_view TextView(const XfmText* text) {
        return {TextData(text), TextLength(text)};
    }
    // Null bytes stand for an empty text. Longer than the contract's 32-bit lengths: false.
    static bool AssignText(XfmText* text, const char* bytes, std::size_t length) {
        if (bytes == nullptr) {
            length = 0;
        }
        if (length > 0xFFFFFFFFu) {
            return false;
        }
        return text->functions->assign(text, bytes != nullptr ? bytes : "",
                                       static_cast<std::uint32_t>(length)) != 0;
    }
};

}  // namespace platform
