// The character scan over arbitrary text with options from the first byte, read both as Shift
// JIS and as UTF-8: the report must name lines in ascending order, and unifying line breaks
// never makes a text longer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/core/tools/character_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    host::ScanOptions options;
    options.halfWidthKana = (data[0] & 1) != 0;
    options.specialRows = (data[0] & 2) != 0;
    options.extendedArea = (data[0] & 4) != 0;
    options.userArea = (data[0] & 8) != 0;
    options.unifyLineBreaks = (data[0] & 16) != 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    // Every report line starts with its line number, right-aligned in four places or more,
    // whether the text is read as Shift JIS or as UTF-8.
    for (const std::string& report :
         {host::ScanText(text, options), host::ScanUtf8Text(text, options)}) {
        unsigned long long last = 0;
        for (std::size_t at = 0; at < report.size();) {
            const std::size_t end = report.find("\r\n", at);
            if (end == std::string::npos) {
                __builtin_trap();  // every line ends with CR LF
            }
            const unsigned long long line = std::stoull(report.substr(at, end - at));
            if (line < last || line == 0) {
                __builtin_trap();
            }
            last = line;
            at = end + 2;
        }
    }
    std::string unified = text;
    host::UnifyLineBreaks(unified);
    if (unified.size() > text.size()) {
        __builtin_trap();
    }
    return 0;
}
