// A text to show the user, made of parts in different encodings: the host's own words and
// file paths are UTF-8 (the paths being the operating system's own bytes), while plug-in
// titles and plug-in messages are Shift JIS. Keeping the parts apart lets a face show a
// message holding both without converting a path lossily.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace host {

class DisplayText {
public:
    DisplayText() = default;
    DisplayText(const char* utf8) : DisplayText(std::string_view(utf8)) {}  // NOLINT
    DisplayText(std::string_view utf8);                                    // NOLINT
    DisplayText(const std::string& utf8) : DisplayText(std::string_view(utf8)) {}  // NOLINT

    static DisplayText FromUtf8(std::string_view utf8);
    static DisplayText FromCp932(std::string_view cp932);

    DisplayText& operator+=(const DisplayText& more);
    friend DisplayText operator+(DisplayText left, const DisplayText& right) {
        left += right;
        return left;
    }

    bool empty() const;
    // The whole text in UTF-8.
    std::string utf8() const;
    // The whole text in Shift JIS; what code page 932 lacks becomes "?" or a closest fit.
    std::string cp932() const;

    bool operator==(const DisplayText& other) const { return utf8() == other.utf8(); }

private:
    struct Part {
        bool cp932 = false;
        std::string bytes;
    };
    std::vector<Part> parts_;
};

}  // namespace host
