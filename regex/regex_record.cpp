// Allocation and release of RegexRecord.
#include "regex/regex_record.h"

#include <cstdlib>

#include "regex/error_text.h"

namespace regex {

RegexRecord* AllocateRegexRecord(std::size_t programLength) {
    // The program follows the fixed part, which is a multiple of the pointer size, so it
    // starts at an even address and every node's kind byte lands at an odd one.
    static_assert(sizeof(RegexRecord) % 2 == 0);
    if (programLength > (std::size_t{1} << 20)) {
        throw RegexError("out of space regexp");
    }
    auto* rx = static_cast<RegexRecord*>(std::calloc(1, sizeof(RegexRecord) + programLength));
    if (rx == nullptr) {
        throw RegexError("out of space regexp");
    }
    if (programLength > 0) {
        rx->program = reinterpret_cast<unsigned char*>(rx + 1);
        rx->programLength = static_cast<int32_t>(programLength);
    }
    return rx;
}

void ReleaseRegexRecord(RegexRecord* rx) {
    if (rx == nullptr) {
        return;
    }
    std::free(rx->startp);
    std::free(rx->endp);
    FreeLiteralString(rx->startLiteral);
    FreeLiteralString(rx->mustLiteral);
    std::free(rx->patternCopy);
    std::free(rx->savedSubject);
    std::free(rx->foldedText);
    std::free(rx);
}

}  // namespace regex
