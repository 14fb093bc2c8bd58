// eolfix: rewrites every line break of a file into CR LF, CR or LF.
#include <array>

#include "line_breaks.h"
#include "plugin_entries.h"
#include "request_checks.h"
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

// Exact output size, or 0 when it cannot be described in 32 bits.
std::uint32_t OutputSize(const ConvertRequest& request, eolfix::Target target) {
    const std::uint64_t size = eolfix::ConvertedSize(request.input, request.inputLength, target);
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
    const std::size_t written = eolfix::RewriteBreaks(
        request->input, request->inputLength, request->output, request->outputCapacity, *target);
    if (written == eolfix::kNoRoom) {
        return 0;
    }
    request->outputLength = static_cast<std::uint32_t>(written);
    return 1;
}
