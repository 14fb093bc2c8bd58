#include "record_output.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace rulebook {

void SetRecordOutput(regex::RegexRecord* record, std::string_view bytes) {
    auto* copy = static_cast<char*>(std::malloc(bytes.size() + 1));
    if (copy == nullptr) {
        throw std::bad_alloc();
    }
    if (!bytes.empty()) {
        std::memcpy(copy, bytes.data(), bytes.size());
    }
    copy[bytes.size()] = '\0';
    ClearRecordOutput(record);
    record->outputBegin = copy;
    record->outputEnd = copy + bytes.size();
}

void ClearRecordOutput(regex::RegexRecord* record) {
    std::free(record->outputBegin);
    record->outputBegin = nullptr;
    record->outputEnd = nullptr;
}

}  // namespace rulebook
