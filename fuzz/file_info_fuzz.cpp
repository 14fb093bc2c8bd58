// The file information and the dry run's diff over arbitrary bytes: counts never exceed what
// the bytes can hold, every row has its ten cells, and the diff of two byte strings is empty
// exactly when they are the same.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "host/core/tools/file_info.h"
#include "host/core/tools/text_diff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const unsigned char> bytes(data, size);
    const host::FileInfo info = host::DescribeFile("f", bytes);
    const std::uint64_t units = platform::IsUtf16(info.form) ? size / 2 : size;
    if (info.breaks.crlf * 2 + info.breaks.lf + info.breaks.cr > units ||
        (info.nec + info.ibm + info.mac) * 2 > size ||
        host::FileInfoCells(info).size() != host::FileInfoHeaders().size()) {
        __builtin_trap();
    }
    // The two halves as the text before and after a conversion.
    const std::size_t half = size / 2;
    const auto before = bytes.subspan(0, half);
    const auto after = bytes.subspan(half);
    const std::string diff = host::ConversionDiff(before, after, size % 5, "a", "b");
    const bool same = before.size() == after.size() &&
                      std::equal(before.begin(), before.end(), after.begin());
    if (same != diff.empty()) {
        __builtin_trap();
    }
    return 0;
}
