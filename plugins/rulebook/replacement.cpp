#include "replacement.h"

#include <limits>
#include <memory>

#include "command_flags.h"
#include "escape_numbers.h"
#include "regex/char_mode.h"

namespace rulebook {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The decimal number at p (p holds a digit 1-9); p moves past all its digits.
uint32_t ReadGroupNumber(const char*& p, const char* end) {
    uint32_t n = 0;
    while (p < end && IsDigit(*p)) {
        const uint32_t digit = static_cast<uint32_t>(*p - '0');
        n = n > (std::numeric_limits<uint32_t>::max() - digit) / 10
                ? std::numeric_limits<uint32_t>::max()
                : n * 10 + digit;
        ++p;
    }
    return n;
}

class Builder {
  public:
    void Literal(const char* bytes, std::size_t length) { compiled_->text.append(bytes, length); }
    void Literal(unsigned char byte) { compiled_->text.push_back(static_cast<char>(byte)); }
    void Group(uint32_t number) {
        FlushLiteral();
        regex::CompiledReplacement::Piece piece;
        piece.isGroup = true;
        piece.group = number;
        compiled_->pieces.push_back(piece);
    }
    std::unique_ptr<regex::CompiledReplacement> Finish() {
        FlushLiteral();
        return std::move(compiled_);
    }

  private:
    void FlushLiteral() {
        if (compiled_->text.size() > flushed_) {
            regex::CompiledReplacement::Piece piece;
            piece.offset = flushed_;
            piece.length = compiled_->text.size() - flushed_;
            compiled_->pieces.push_back(piece);
            flushed_ = compiled_->text.size();
        }
    }
    std::unique_ptr<regex::CompiledReplacement> compiled_ =
        std::make_unique<regex::CompiledReplacement>();
    std::size_t flushed_ = 0;
};

// One character of the command's encoding copied whole.
void CopyCharacter(Builder& builder, const char*& p, const char* end, regex::CharMode encoding) {
    const std::size_t length = regex::CharWidth(encoding, p, end);
    builder.Literal(p, length);
    p += length;
}

// The escape whose letter is at p (the backslash before it already passed); p moves past it.
void CompileEscape(Builder& builder, const char*& p, const char* end, regex::CharMode encoding) {
    const char letter = *p;
    switch (letter) {
        case 'n':
            builder.Literal('\n');
            break;
        case 'r':
            builder.Literal('\r');
            break;
        case 't':
            builder.Literal('\t');
            break;
        case 'f':
            builder.Literal('\f');
            break;
        case 'e':
            builder.Literal(0x1B);
            break;
        case 'a':
            builder.Literal(0x07);
            break;
        case 'x': {
            const EscapeNumber n = ReadHexDigits(p + 1, end, 2);
            builder.Literal(static_cast<unsigned char>(n.value));
            p += 1 + n.digits;
            return;
        }
        case '0': {
            const EscapeNumber n = ReadOctalDigits(p, end, 3);
            builder.Literal(static_cast<unsigned char>(n.value));
            p += n.digits;
            return;
        }
        case 'c':
            if (p + 1 < end) {
                builder.Literal(ControlCharacter(static_cast<unsigned char>(p[1])));
                p += 2;
                return;
            }
            builder.Literal('c');
            break;
        default:
            if (letter >= '1' && letter <= '9') {
                builder.Group(ReadGroupNumber(p, end));
                return;
            }
            // "\\", "\/" and every other character stand for themselves.
            CopyCharacter(builder, p, end, encoding);
            return;
    }
    ++p;
}

}  // namespace

regex::CompiledReplacement* CompileReplacement(regex::RegexRecord* record,
                                               const char* replacementBegin,
                                               const char* replacementEnd) {
    record->flags |= FLAG_LITERAL_REPLACEMENT;
    if (replacementEnd - replacementBegin < 2) {
        return nullptr;
    }
    const regex::CharMode encoding = regex::TextModeOf(record->flags);
    Builder builder;
    bool special = false;
    const char* p = replacementBegin;
    while (p < replacementEnd) {
        const char c = *p;
        if ((c != '\\' && c != '$') || p + 1 == replacementEnd) {
            CopyCharacter(builder, p, replacementEnd, encoding);
            continue;
        }
        ++p;
        if (c == '\\') {
            special = true;
            CompileEscape(builder, p, replacementEnd, encoding);
        } else if (*p >= '1' && *p <= '9') {
            special = true;
            builder.Group(ReadGroupNumber(p, replacementEnd));
        } else if (*p == '&') {
            special = true;
            builder.Group(0);
            ++p;
        } else {
            builder.Literal('$');
            CopyCharacter(builder, p, replacementEnd, encoding);
        }
    }
    if (!special) {
        return nullptr;
    }
    record->flags &= ~FLAG_LITERAL_REPLACEMENT;
    return builder.Finish().release();
}

}  // namespace rulebook
