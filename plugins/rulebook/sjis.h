// Shift JIS (code page 932) character boundaries, as the table plug-in walks texts.
#pragma once

#include <cstddef>

#include "platform/sjis_bytes.h"

namespace rulebook {

using platform::sjis::IsLeadByte;

// Answers "does this position start a character?" for a text walked from `begin`, a lead
// byte always taking the byte after it, for positions asked in ascending order. A position
// starts a character when an even number of lead-byte values stand directly before it; the
// last answer is remembered so that long runs of lead-byte values are counted only once.
class CharacterStarts {
  public:
    explicit CharacterStarts(const unsigned char* begin) : begin_(begin), known_(begin) {}

    bool IsStart(const unsigned char* p) {
        const unsigned char* q = p;
        while (q > known_ && IsLeadByte(q[-1])) {
            --q;
        }
        bool start;
        if (q == known_ && q > begin_) {
            // Only lead-byte values between the last answer and p: the parity carries over.
            start = ((p - q) % 2 == 0) == knownIsStart_;
        } else {
            start = (p - q) % 2 == 0;
        }
        known_ = p;
        knownIsStart_ = start;
        return start;
    }

  private:
    const unsigned char* begin_;
    const unsigned char* known_;
    bool knownIsStart_ = true;
};

}  // namespace rulebook
