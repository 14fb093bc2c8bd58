// The growable byte string that crosses XfmRegExp: the host owns it, the plug-in reads the
// whole text and replaces it. Every member that allocates lives in the runtime library, so
// both sides use one implementation and one allocator whatever they were built with.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

class SharedString {
public:
    SharedString();
    explicit SharedString(std::string_view text);
    SharedString(const SharedString&) = delete;
    SharedString& operator=(const SharedString&) = delete;
    ~SharedString();

    // The bytes, followed by a zero byte that is not part of the text.
    const char* data() const;
    std::size_t size() const;
    std::string_view view() const { return {data(), size()}; }

    void assign(const char* bytes, std::size_t length);
    void assign(std::string_view text) { assign(text.data(), text.size()); }
    void clear();

private:
    std::string* bytes_;
};

}  // namespace platform
