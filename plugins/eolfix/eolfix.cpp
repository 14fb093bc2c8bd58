// eolfix: rewrites every line break of a file into CR LF, CR or LF. Breaks are bytes in
// Shift JIS, EUC-JP, JIS and UTF-8, whose characters never hold the bytes 0x0D and 0x0A (in
// JIS they are control characters of one byte in every mode); UTF-16 text, as the runtime's
// detection finds it (platform/text_form.h), has its breaks rewritten in 16-bit units.
#include <array>
#include <optional>

#include "line_breaks.h"
#include "platform/text_form.h"
#include "plugin_entries.h"
#include "request_checks.h"
#include "utf16_breaks.h"
#include "xfm_plugin.h"

namespace {

// Titles are Shift JIS.
constexpr plugin_support::PluginInfo<3> kPlugin = {
    XFM_VERSION(1, 0, 0, 2),
    {{
        // 改行をCR+LF(Windows)に変換
        {"\x89\xfc\x8d\x73\x82\xf0" "CR+LF(Windows)\x82\xc9\x95\xcf\x8a\xb7"},
        // 改行をCR(Macintosh)に変換
        {"\x89\xfc\x8d\x73\x82\xf0" "CR(Macintosh)\x82\xc9\x95\xcf\x8a\xb7"},
        // 改行をLF(UNIX)に変換
        {"\x89\xfc\x8d\x73\x82\xf0" "LF(UNIX)\x82\xc9\x95\xcf\x8a\xb7"},
    }}};

constexpr std::array<eolfix::Target, 3> kTargets = {eolfix::Target::kCrLf, eolfix::Target::kCr,
                                                    eolfix::Target::kLf};

const eolfix::Target* TargetFor(const ConvertRequest* request) {
    return plugin_support::FunctionFor(kTargets, request);
}

// Where the units of a UTF-16 text lie; nothing for every other text.
std::optional<eolfix::Utf16Text> Utf16TextOf(const ConvertRequest& request) {
    using platform::TextForm;
    const TextForm form = platform::DetectUtf16Form(request.input, request.inputLength);
    if (!platform::IsUtf16(form)) {
        return std::nullopt;
    }
    const bool marked = form == TextForm::kUtf16Le || form == TextForm::kUtf16Be;
    const bool bigEndian = form == TextForm::kUtf16Be || form == TextForm::kUtf16BeBare;
    return eolfix::Utf16Text{marked ? 2u : 0u, bigEndian};
}

// Exact output size, or 0 when it cannot be described in 32 bits.
std::uint32_t OutputSize(const ConvertRequest& request, eolfix::Target target) {
    const std::optional<eolfix::Utf16Text> utf16 = Utf16TextOf(request);
    const std::uint64_t size =
        utf16 ? eolfix::ConvertedSize16(request.input, request.inputLength, *utf16, target)
              : eolfix::ConvertedSize(request.input, request.inputLength, target);
    return plugin_support::SizeOrZero(size);
}

}  // namespace

XFM_DEFINE_TABLE_ENTRIES(kPlugin)

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const eolfix::Target* target = TargetFor(request);
    return target == nullptr ? 0 : OutputSize(*request, *target);
}

XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const eolfix::Target* target = TargetFor(request);
    if (target == nullptr || request->output == nullptr) {
        return 0;
    }
    const std::optional<eolfix::Utf16Text> utf16 = Utf16TextOf(*request);
    const std::size_t written =
        utf16 ? eolfix::RewriteBreaks16(request->input, request->inputLength, *utf16,
                                        request->output, request->outputCapacity, *target)
              : eolfix::RewriteBreaks(request->input, request->inputLength, request->output,
                                      request->outputCapacity, *target);
    if (written == eolfix::kNoRoom) {
        return 0;
    }
    request->outputLength = static_cast<std::uint32_t>(written);
    return 1;
}
