#include "fallback_writer.h"

#include <algorithm>
#include <cstring>

namespace unibridge {
namespace {

// The next "&#" in in[from, n), or n.
std::size_t NextReferenceStart(const unsigned char* in, std::size_t from, std::size_t n) {
    while (from < n) {
        const void* amp = std::memchr(in + from, '&', n - from);
        if (amp == nullptr) {
            return n;
        }
        from = static_cast<std::size_t>(static_cast<const unsigned char*>(amp) - in);
        if (from + 1 < n && in[from + 1] == '#') {
            return from;
        }
        ++from;
    }
    return n;
}

}  // namespace

FallbackSjisWriter::FallbackSjisWriter(Fallback fallback, unsigned char* out,
                                       std::size_t capacity)
    : SjisWriter(Cp932Map::Get(), out, capacity,
                 fallback == Fallback::kLossless ? ExactSjisTables()
                                                 : SjisTables::Of(Cp932Map::Get())),
      fallback_(fallback),
      lineScan_(out) {}

std::size_t FallbackSjisWriter::Utf8Kernel(const unsigned char* in, std::size_t i, std::size_t n) {
    if (fallback_ == Fallback::kReadable) {
        if (readable_.JoinPending()) {
            return i;
        }
        const std::size_t end = SjisWriter::Utf8Kernel(in, i, n);
        if (end != i) {
            readable_.Kept();
        }
        return end;
    }
    if (nextReference_ == kUnknown || nextReference_ < i) {
        nextReference_ = NextReferenceStart(in, i, n);
    }
    return SjisWriter::Utf8Kernel(in, i, nextReference_);
}

bool FallbackSjisWriter::Ascii(const unsigned char* run, std::size_t length) {
    if (fallback_ == Fallback::kReadable) {
        readable_.Kept();
        return SjisWriter::Ascii(run, length);
    }
    // A reference is ASCII through and through, so one that starts in the run ends there.
    std::size_t done = 0;
    while (done < length) {
        const void* amp = std::memchr(run + done, '&', length - done);
        const std::size_t plain =
            (amp == nullptr ? length : static_cast<const unsigned char*>(amp) - run) - done;
        if (!SjisWriter::Ascii(run + done, plain)) {
            return false;
        }
        done += plain;
        if (done == length) {
            break;
        }
        if (platform::ReadNumericReference(run + done, length - done).length != 0) {
            if (Reference('&') != Put::kDone) {
                return false;
            }
        } else if (!SjisWriter::Ascii(run + done, 1)) {
            return false;
        }
        ++done;
    }
    return true;
}

Put FallbackSjisWriter::Unicode(char32_t c) {
    const std::uint16_t code = c < 0x10000 ? tables_.codes[c] : Cp932Map::kNoCode;
    if (fallback_ == Fallback::kLossless) {
        return code != Cp932Map::kNoCode ? Sjis(code) : Reference(c);
    }
    if (c < 0x80) {  // from UTF-16, which has no ASCII runs
        readable_.Kept();
        return Sjis(static_cast<std::uint16_t>(c));
    }
    switch (readable_.Next(c, code != Cp932Map::kNoCode)) {
        case platform::ReadableFallback::Action::kKeep:
            return Sjis(code);
        case platform::ReadableFallback::Action::kCustomary:
            return Replace(tables_.codes[platform::CustomaryForm(c)]);
        case platform::ReadableFallback::Action::kGeta:
            return Replace(platform::kGetaMark);
        case platform::ReadableFallback::Action::kDropSelector:
            Record();
            return Put::kDone;
        case platform::ReadableFallback::Action::kDrop:
            break;
    }
    return Put::kDone;
}

Put FallbackSjisWriter::Replace(std::uint16_t code) {
    Record();
    return Sjis(code);
}

Put FallbackSjisWriter::Reference(char32_t c) {
    unsigned char text[platform::kLongestReference];
    const std::size_t length = platform::WriteNumericReference(c, text);
    if (Room() < length) {
        return Put::kNoRoom;
    }
    Record();
    return Bytes(text, length) ? Put::kDone : Put::kNoRoom;
}

void FallbackSjisWriter::Record() {
    ++replacements_.count;
    if (replacements_.moreLines) {
        return;
    }
    // Line breaks are ASCII in Shift JIS and no trail byte is one, so the output's lines are
    // the input's. The place is written at out_, which holds no LF: a CR just before it is a
    // break of its own.
    for (; lineScan_ < out_; ++lineScan_) {
        const unsigned char b = *lineScan_;
        if (b == '\n' || (b == '\r' && (lineScan_ + 1 == out_ || lineScan_[1] != '\n'))) {
            ++line_;
        }
    }
    std::vector<std::uint64_t>& lines = replacements_.lines;
    if (!lines.empty() && lines.back() == line_) {
        return;
    }
    if (lines.size() == Replacements::kLinesKept) {
        replacements_.moreLines = true;
        return;
    }
    lines.push_back(line_);
}

}  // namespace unibridge
