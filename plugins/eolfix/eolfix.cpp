// eolfix: rewrites every line break of a file into CR LF, CR or LF.
#include <array>

#include "line_breaks.h"
#include "request_checks.h"
#include "xfm_plugin.h"

namespace {

struct Function {
    const char* title;
    eolfix::Target target;
};

// Titles are Shift JIS.
constexpr std::array<Function, 3> kFunctions = {{
    // 改行をCR+LF(Windows)に変換
    {"\x89\xfc\x8d\x73\x82\xf0" "CR+LF(Windows)\x82\xc9\x95\xcf\x8a\xb7", eolfix::Target::kCrLf},
    // 改行をCR(Macintosh)に変換
    {"\x89\xfc\x8d\x73\x82\xf0" "CR(Macintosh)\x82\xc9\x95\xcf\x8a\xb7", eolfix::Target::kCr},
    // 改行をLF(UNIX)に変換
    {"\x89\xfc\x8d\x73\x82\xf0" "LF(UNIX)\x82\xc9\x95\xcf\x8a\xb7", eolfix::Target::kLf},
}};

const Function* FunctionFor(const ConvertRequest* request) {
    return plugin_support::FunctionFor(kFunctions, request);
}

// Exact output size, or 0 when it cannot be described in 32 bits.
std::uint32_t OutputSize(const ConvertRequest& request, eolfix::Target target) {
    const std::uint64_t size = eolfix::ConvertedSize(request.input, request.inputLength, target);
    return plugin_support::SizeOrZero(size);
}

}  // namespace

XFM_EXPORT uint32_t XFM_CALL XfmGetVersion(void) { return XFM_VERSION(1, 0, 0, 2); }

XFM_EXPORT uint32_t XFM_CALL XfmGetCount(void) { return kFunctions.size(); }

XFM_EXPORT const char* XFM_CALL XfmGetTitle(uint32_t index) {
    return index < kFunctions.size() ? kFunctions[index].title : nullptr;
}

XFM_EXPORT uint32_t XFM_CALL XfmIsUseTable(uint32_t) { return 0; }

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const Function* function = FunctionFor(request);
    return function == nullptr ? 0 : OutputSize(*request, function->target);
}

XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const Function* function = FunctionFor(request);
    if (function == nullptr || request->output == nullptr) {
        return 0;
    }
    const std::size_t written = eolfix::RewriteBreaks(
        request->input, request->inputLength, request->output, request->outputCapacity,
        function->target);
    if (written == eolfix::kNoRoom) {
        return 0;
    }
    request->outputLength = static_cast<std::uint32_t>(written);
    return 1;
}

XFM_EXPORT uint32_t XFM_CALL XfmRenameFile(const char*, char*, uint32_t) { return 0; }
