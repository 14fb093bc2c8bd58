// Where and why a conversion stopped.
#pragma once

#include <cstddef>

namespace platform {

struct Fault {
    enum class Kind {
        kNone,
        kBadBytes,         // `length` bytes at `offset` are no character of the text's encoding
        kNoShiftJis,       // the character `character` at `offset` has no Shift JIS code
        kNoShiftJisBytes,  // nor has the character of `length` bytes at `offset`
        kNoRoom,           // the output buffer is full
    };
    Kind kind = Kind::kNone;
    std::size_t offset = 0;  // in the whole input
    std::size_t length = 0;
    char32_t character = 0;

    static Fault BadBytes(std::size_t offset, std::size_t length) {
        return {Kind::kBadBytes, offset, length, 0};
    }
    static Fault NoShiftJis(std::size_t offset, char32_t character) {
        return {Kind::kNoShiftJis, offset, 0, character};
    }
    static Fault NoShiftJisBytes(std::size_t offset, std::size_t length) {
        return {Kind::kNoShiftJisBytes, offset, length, 0};
    }
    static Fault NoRoom(std::size_t offset) { return {Kind::kNoRoom, offset, 0, 0}; }
    explicit operator bool() const { return kind != Kind::kNone; }
};

}  // namespace platform
