#include "platform/shared_string.h"

#include <new>
#include <stdexcept>

namespace platform {
namespace {

std::string& Bytes(const XfmText* text) { return *static_cast<std::string*>(text->storage); }

const char* XFM_CALL Data(const XfmText* text) { return Bytes(text).c_str(); }

uint32_t XFM_CALL Length(const XfmText* text) {
    return static_cast<uint32_t>(Bytes(text).size());
}

uint32_t XFM_CALL Assign(XfmText* text, const char* bytes, uint32_t length) {
    try {
        // Through a copy: `bytes` may lie inside the text itself.
        std::string replaced(bytes, length);
        Bytes(text).swap(replaced);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (const std::length_error&) {
        return 0;
    }
}

constexpr XfmTextFunctions kFunctions = {&Data, &Length, &Assign};

}  // namespace

SharedString::SharedString() : XfmText{&kFunctions, new std::string} {}
SharedString::SharedString(std::string_view text) : XfmText{&kFunctions, new std::string(text)} {}
SharedString::~SharedString() { delete &Bytes(this); }

}  // namespace platform
