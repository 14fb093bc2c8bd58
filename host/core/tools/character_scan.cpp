#include "host/core/tools/character_scan.h"

#include <cstdio>

#include "host/core/ui/host_texts.h"
#include "host/core/tools/scan_ranges.h"
#include "host/core/tools/tool_texts.h"
#include "host/core/files/text_content.h"
#include "host/core/files/whole_file.h"
#include "platform/message_box.h"
#include "platform/sjis_bytes.h"
#include "platform/sjis_fallback.h"
#include "platform/text_encoding.h"
#include "platform/utf8_text.h"

namespace host {
namespace {

enum class ByteClass { kLead, kTrail, kSingle, kInvalid };

ByteClass Classify(unsigned char byte, ByteClass previous) {
    if (previous == ByteClass::kLead) {
        return platform::sjis::IsTrailByte(byte) ? ByteClass::kTrail : ByteClass::kInvalid;
    }
    if (platform::sjis::IsLeadByte(byte)) {
        return ByteClass::kLead;
    }
    if ((byte >= 0x20 && byte <= 0x7E) || platform::sjis::IsHalfWidthKana(byte)) {
        return ByteClass::kSingle;
    }
    return ByteClass::kInvalid;
}

// The report's words in Shift JIS, as the result field shows them.
const std::string& LineWord() {
    static const std::string word = platform::Utf8ToCp932("行目:[ ");
    return word;
}

std::string LinePrefix(unsigned long long line) {
    char number[24];
    std::snprintf(number, sizeof number, "%4llu", line);
    return number + LineWord();
}

std::string HexCode(const char* format, unsigned code) {
    char hex[16];
    std::snprintf(hex, sizeof hex, format, code);
    return hex;
}

}  // namespace

std::string ScanText(std::string_view text, const ScanOptions& options) {
    std::string report;
    unsigned long long line = 1;
    ByteClass previousClass = ByteClass::kInvalid;
    unsigned char lead = 0;
    unsigned char previous = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const ByteClass kind = Classify(byte, previousClass);
        switch (kind) {
            case ByteClass::kSingle:
                if (byte >= 0xA0 && options.halfWidthKana) {
                    report += LinePrefix(line);
                    report += static_cast<char>(byte);
                    report += "  ] = " + HexCode("0x%02X", byte) + "\r\n";
                }
                break;
            case ByteClass::kLead:
                lead = byte;
                break;
            case ByteClass::kTrail: {
                const unsigned code = lead * 256u + byte;
                if (ReportsCode(code, options)) {
                    report += LinePrefix(line);
                    report += static_cast<char>(lead);
                    report += static_cast<char>(byte);
                    report += " ] = " + HexCode("0x%04X", code) + "\r\n";
                }
                break;
            }
            case ByteClass::kInvalid:
                if (byte == '\n' && (options.unifyLineBreaks || previous == '\r')) {
                    ++line;
                }
                break;
        }
        previousClass = kind;
        previous = byte;
    }
    return report;
}

FileScan ScanOneFile(const std::string& path, const ScanOptions& options) {
    FileScan scan;
    scan.report = "*** " + path + " ***\r\n";
    ReadResult read = ReadWholeFile(path);
    if (read.status != ReadStatus::kOk) {
        scan.report += "エラー: ファイルをオープンできません。\r\n";
        scan.opened = false;
        return scan;
    }
    if (const ContentVerdict content =
            ClassifyContent(std::span(read.bytes.data(), read.bytes.size()));
        content.binary) {
        scan.report += texts::ScanSkippedBinary(content.reason);
        return scan;
    }
    std::string text(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size());
    const bool utf8 = platform::IsUtf8Text(text);
    if (options.unifyLineBreaks) {
        UnifyLineBreaks(text);
    }
    scan.report += utf8 ? DisplayText::FromUtf8(ScanUtf8Text(text, options))
                        : DisplayText::FromCp932(ScanText(text, options));
    // What unibridge's fallbacks would replace on the way to Shift JIS, counted on the bytes as
    // read, as the conversion reads them.
    const platform::FallbackCounts counts =
        platform::CountFallbacks(read.bytes.data(), read.bytes.size());
    scan.report += texts::ScanFallbackCounts(counts.readable, counts.firstReadableLine,
                                             counts.lossless, counts.firstLosslessLine);
    return scan;
}

ScanReport ScanFiles(UserInterface& ui, const std::vector<std::string>& paths,
                     const ScanOptions& options) {
    ScanReport result;
    if (paths.empty()) {
        ui.messageBox(MessageKind::kCommandError, texts::kNothingToScan, texts::kTitleError,
                      platform::kIconStop | platform::kButtonsOk);
        return result;
    }
    {
        WaitCursor wait(ui);
        for (const std::string& path : paths) {
            FileScan scan = ScanOneFile(path, options);
            result.text += scan.report;
            if (!scan.opened) {
                ++result.unreadable;
            }
        }
    }
    ui.beep();
    result.text += "*** スキャン終了 ***\r\n";
    result.ran = true;
    return result;
}

void UnifyLineBreaks(std::string& text) {
    std::size_t out = 0;
    bool pendingCr = false;
    for (std::size_t in = 0; in < text.size(); ++in) {
        const char c = text[in];
        if (c == '\n') {
            text[out++] = '\n';
            pendingCr = false;
        } else if (c == '\r') {
            if (pendingCr) {
                text[out++] = '\n';
            }
            pendingCr = true;
        } else {
            if (pendingCr) {
                text[out++] = '\n';
                pendingCr = false;
            }
            text[out++] = c;
        }
    }
    if (pendingCr) {
        text[out++] = '\n';
    }
    text.resize(out);
}

}  // namespace host
