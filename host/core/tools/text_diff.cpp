#include "host/core/tools/text_diff.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "host/core/files/text_content.h"
#include "platform/text_encoding.h"
#include "platform/utf16.h"
#include "platform/utf8_text.h"
#include "plugins/common/jis_row_cell.h"

namespace host {
namespace {

using platform::TextForm;

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// A JIS X 0208 row and cell as Shift JIS bytes.
void PutRowCell(unsigned char row, unsigned char cell, std::string& sjis) {
    const jis::BytePair code = jis::SjisFromRowCell(row, cell);
    sjis += static_cast<char>(code.first);
    sjis += static_cast<char>(code.second);
}

// EUC-JP as Shift JIS: two-byte characters by their row and cell, kana after 0x8E as the byte
// itself; a JIS X 0212 character (0x8F and two bytes), which Shift JIS lacks, as "?".
std::string SjisFromEuc(std::span<const unsigned char> in) {
    std::string sjis;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const unsigned char b = in[i];
        const bool pair = i + 1 < in.size() && in[i + 1] >= 0xA1;
        if (b == 0x8E && i + 1 < in.size()) {
            sjis += static_cast<char>(in[++i]);
        } else if (b == 0x8F && i + 2 < in.size()) {
            sjis += '?';
            i += 2;
        } else if (b >= 0xA1 && pair) {
            PutRowCell(jis::SevenBit(b), jis::SevenBit(in[i + 1]), sjis);
            ++i;
        } else {
            sjis += static_cast<char>(b);
        }
    }
    return sjis;
}

// ISO-2022-JP as Shift JIS, with the mode switches encswap reads.
std::string SjisFromJis(std::span<const unsigned char> in) {
    enum class Mode { kAscii, kKanji, kKana } mode = Mode::kAscii;
    std::string sjis;
    for (std::size_t i = 0; i < in.size(); ++i) {
        const unsigned char b = in[i];
        if (b == 0x1B && i + 2 < in.size()) {
            const std::string_view escape(reinterpret_cast<const char*>(in.data() + i + 1), 2);
            if (escape == "$B" || escape == "$@" || escape == "(B" || escape == "(J" ||
                escape == "(I") {
                mode = escape[0] == '$' ? Mode::kKanji : escape[1] == 'I' ? Mode::kKana
                                                                          : Mode::kAscii;
                i += 2;
                continue;
            }
        }
        if (b == 0x0E || b == 0x0F) {
            mode = b == 0x0E ? Mode::kKana : Mode::kAscii;
        } else if (mode == Mode::kKana && b >= 0x21 && b <= 0x5F) {
            sjis += static_cast<char>(b + 0x80);
        } else if (mode == Mode::kKanji && b >= 0x21 && b <= 0x7E && i + 1 < in.size()) {
            PutRowCell(b, in[++i], sjis);
        } else {
            sjis += static_cast<char>(b);
        }
    }
    return sjis;
}

std::string Utf8ForDisplay(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = static_cast<unsigned char>(text[i]) < 0x80
                                       ? 1
                                       : platform::Utf8SequenceLength(text, i);
        out += length == 0 ? std::string_view(kReplacement) : text.substr(i, length);
        i += length == 0 ? 1 : length;
    }
    return out;
}

std::string Utf16ForDisplay(std::span<const unsigned char> in, bool bigEndian, bool marked) {
    std::u16string units;
    for (std::size_t i = marked ? 2 : 0; i + 1 < in.size(); i += 2) {
        units += bigEndian ? static_cast<char16_t>(in[i] << 8 | in[i + 1])
                           : static_cast<char16_t>(in[i + 1] << 8 | in[i]);
    }
    return platform::Utf16ToUtf8(units);
}

// One operation of an edit script: a line kept, removed from before or added from after.
enum class Op { kKeep, kRemove, kAdd };

// Most differences the line comparison looks for before it gives the middle up as one change:
// the search keeps one row of positions per difference, so its memory grows with the square.
constexpr long kMostDifferences = 2000;

// The shortest edit script from a to b (lines as numbers), or nothing beyond kMostDifferences.
std::optional<std::vector<Op>> EditScript(const std::vector<int>& a, const std::vector<int>& b) {
    const long n = static_cast<long>(a.size());
    const long m = static_cast<long>(b.size());
    const long most = std::min(n + m, kMostDifferences);
    std::vector<std::vector<long>> trace;  // trace[d][k + d]: furthest x on diagonal k
    std::vector<long> v(2 * static_cast<std::size_t>(most) + 3, 0);
    const long offset = most + 1;
    for (long d = 0; d <= most; ++d) {
        for (long k = -d; k <= d; k += 2) {
            long x = (k == -d || (k != d && v[k - 1 + offset] < v[k + 1 + offset]))
                         ? v[k + 1 + offset]
                         : v[k - 1 + offset] + 1;
            long y = x - k;
            while (x < n && y < m && a[x] == b[y]) {
                ++x;
                ++y;
            }
            v[k + offset] = x;
            if (x >= n && y >= m) {
                trace.emplace_back(v.begin() + (offset - d), v.begin() + (offset + d + 1));
                // Back from (n, m): each difference was one removal or one addition.
                std::vector<Op> ops;
                long bx = n;
                long by = m;
                for (long e = d; e > 0; --e) {
                    const std::vector<long>& prev = trace[e - 1];
                    const long bk = bx - by;
                    const auto at = [&](long kk) { return prev[kk + (e - 1)]; };
                    const bool down = bk == -e || (bk != e && at(bk - 1) < at(bk + 1));
                    const long pk = down ? bk + 1 : bk - 1;
                    const long px = at(pk);
                    const long py = px - pk;
                    while (bx > px + (down ? 0 : 1) && by > py + (down ? 1 : 0)) {
                        ops.push_back(Op::kKeep);
                        --bx;
                        --by;
                    }
                    ops.push_back(down ? Op::kAdd : Op::kRemove);
                    bx = px;
                    by = py;
                }
                for (; bx > 0 && by > 0; --bx, --by) {
                    ops.push_back(Op::kKeep);
                }
                std::reverse(ops.begin(), ops.end());
                return ops;
            }
        }
        trace.emplace_back(v.begin() + (offset - d), v.begin() + (offset + d + 1));
    }
    return std::nullopt;
}

// The whole script: common lines at both ends kept, the middle compared.
std::vector<Op> Script(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    std::unordered_map<std::string_view, int> ids;
    const auto numbered = [&](const std::vector<std::string>& lines) {
        std::vector<int> numbers;
        for (std::size_t i = head; i < lines.size() - tail; ++i) {
            numbers.push_back(ids.try_emplace(lines[i], static_cast<int>(ids.size())).first->second);
        }
        return numbers;
    };
    const std::vector<int> a = numbered(before);
    const std::vector<int> b = numbered(after);
    std::vector<Op> ops(head, Op::kKeep);
    if (auto middle = EditScript(a, b)) {
        ops.insert(ops.end(), middle->begin(), middle->end());
    } else {
        ops.insert(ops.end(), a.size(), Op::kRemove);
        ops.insert(ops.end(), b.size(), Op::kAdd);
    }
    ops.insert(ops.end(), tail, Op::kKeep);
    return ops;
}

// A line as the diff shows it after its mark: a CR before the end as ^M, and the line break
// itself, or the note that the text ends without one.
std::string Shown(const std::string& line) {
    std::string_view body = line;
    const bool broken = !body.empty() && (body.back() == '\n' || body.back() == '\r');
    if (!body.empty() && body.back() == '\n') {
        body.remove_suffix(1);
    }
    std::string out;
    for (const char c : body) {
        out += c == '\r' ? std::string("^M") : std::string(1, c);
    }
    return out + (broken ? "\n" : "\n\\ No newline at end of file\n");
}

std::string Range(std::size_t start, std::size_t count) {
    // An empty range names the line before it, as unified diffs do.
    const std::size_t first = count == 0 ? start : start + 1;
    return std::to_string(first) + (count == 1 ? "" : "," + std::to_string(count));
}

}  // namespace

std::string DecodeForDisplay(std::span<const unsigned char> bytes, TextForm form) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    switch (form) {
        case TextForm::kAscii:
        case TextForm::kUtf8:
            return Utf8ForDisplay(text);
        case TextForm::kUtf8Bom:
            return Utf8ForDisplay(text.substr(platform::HasUtf8Mark(text) ? 3 : 0));
        case TextForm::kUtf16Le:
        case TextForm::kUtf16LeBare:
            return Utf16ForDisplay(bytes, false, form == TextForm::kUtf16Le);
        case TextForm::kUtf16Be:
        case TextForm::kUtf16BeBare:
            return Utf16ForDisplay(bytes, true, form == TextForm::kUtf16Be);
        case TextForm::kEuc:
            return platform::Cp932ToUtf8(SjisFromEuc(bytes));
        case TextForm::kJis:
            return platform::Cp932ToUtf8(SjisFromJis(bytes));
        case TextForm::kSjis:
            break;
    }
    return platform::Cp932ToUtf8(text);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool end = text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() ||
                                                                 text[i + 1] != '\n'));
        if (end) {
            lines.push_back(text.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

std::string UnifiedDiff(const std::vector<std::string>& before,
                        const std::vector<std::string>& after, std::size_t context,
                        const std::string& beforeLabel, const std::string& afterLabel) {
    const std::vector<Op> ops = Script(before, after);
    std::string out;
    std::size_t cursor = 0;  // ops before it are accounted for in a and b
    std::size_t a = 0;
    std::size_t b = 0;
    std::size_t i = 0;
    while (i < ops.size()) {
        while (i < ops.size() && ops[i] == Op::kKeep) {
            ++i;
        }
        if (i == ops.size()) {
            break;
        }
        // A hunk: from `context` kept lines before the change to `context` after the last
        // change that no more than twice `context` kept lines part from the one before.
        const std::size_t start = i - std::min(i - cursor, context);
        std::size_t end = i;
        for (std::size_t kept = 0; end < ops.size() && kept <= 2 * context; ++end) {
            kept = ops[end] == Op::kKeep ? kept + 1 : 0;
        }
        while (end > i && ops[end - 1] == Op::kKeep) {
            --end;
        }
        end = std::min(ops.size(), end + context);
        for (; cursor < start; ++cursor) {  // kept lines between two hunks
            ++a;
            ++b;
        }
        std::string body;
        std::size_t aCount = 0;
        std::size_t bCount = 0;
        for (std::size_t k = start; k < end; ++k) {
            if (ops[k] == Op::kAdd) {
                body += "+" + Shown(after[b + bCount++]);
            } else if (ops[k] == Op::kRemove) {
                body += "-" + Shown(before[a + aCount++]);
            } else {
                body += " " + Shown(before[a + aCount++]);
                ++bCount;
            }
        }
        if (out.empty()) {
            out = "--- " + beforeLabel + "\n+++ " + afterLabel + "\n";
        }
        out += "@@ -" + Range(a, aCount) + " +" + Range(b, bCount) + " @@\n" + body;
        a += aCount;
        b += bCount;
        cursor = i = end;
    }
    return out;
}

std::string ConversionDiff(std::span<const unsigned char> before,
                           std::span<const unsigned char> after, std::size_t context,
                           const std::string& beforePath, const std::string& afterPath) {
    if (std::equal(before.begin(), before.end(), after.begin(), after.end())) {
        return {};
    }
    if (ClassifyContent(before).binary || ClassifyContent(after).binary) {
        const auto differ =
            std::mismatch(before.begin(), before.end(), after.begin(), after.end());
        const std::size_t offset = static_cast<std::size_t>(differ.first - before.begin());
        return "Binary " + beforePath + " (" + std::to_string(before.size()) + " bytes) and " +
               afterPath + " (" + std::to_string(after.size()) +
               " bytes) differ from offset " + std::to_string(offset) + "\n";
    }
    const TextForm from = platform::DetectTextForm(before.data(), before.size());
    const TextForm to = platform::DetectTextForm(after.data(), after.size());
    const std::string beforeLabel = beforePath + " (" + platform::TextFormName(from) + ")";
    const std::string afterLabel = afterPath + " (" + platform::TextFormName(to) + ")";
    const std::string diff = UnifiedDiff(SplitLines(DecodeForDisplay(before, from)),
                                         SplitLines(DecodeForDisplay(after, to)), context,
                                         beforeLabel, afterLabel);
    // The same text in other bytes (another encoding): the labels alone tell the change.
    return diff.empty() ? "--- " + beforeLabel + "\n+++ " + afterLabel + "\n" : diff;
}

}  // namespace host
