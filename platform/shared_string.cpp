#include "platform/shared_string.h"

namespace platform {

SharedString::SharedString() : bytes_(new std::string) {}
SharedString::SharedString(std::string_view text) : bytes_(new std::string(text)) {}
SharedString::~SharedString() { delete bytes_; }

const char* SharedString::data() const { return bytes_->c_str(); }
std::size_t SharedString::size() const { return bytes_->size(); }

void SharedString::assign(const char* bytes, std::size_t length) {
    if (bytes == nullptr) {
        bytes_->clear();
        return;
    }
    bytes_->assign(bytes, length);
}

void SharedString::clear() { bytes_->clear(); }

}  // namespace platform
