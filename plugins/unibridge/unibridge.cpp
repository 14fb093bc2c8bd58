// unibridge: converts Japanese text between Shift JIS, EUC-JP or JIS and UTF-8 or UTF-16,
// detecting the form a text is in (see detect.h for the rule). Nothing is lost silently: a
// character Shift JIS cannot hold, or bytes that are no character of the text's encoding,
// make the conversion fail with a message that names the first such place.
#include <array>
#include <cstdint>

#include "convert.h"
#include "detect.h"
#include "fault_message.h"
#include "request_checks.h"
#include "xfm_plugin.h"

namespace {

using unibridge::Target;

struct Function {
    const char* title;
    Target target;
};

// Titles are Shift JIS.
constexpr std::array<Function, 4> kFunctions = {{
    // UTF-8に変換（自動判別）
    {"UTF-8\x82\xc9\x95\xcf\x8a\xb7\x81\x69\x8e\xa9\x93\xae\x94\xbb\x95\xca\x81\x6a",
     Target::kUtf8},
    // UTF-8(BOM付き)に変換（自動判別）
    {"UTF-8(BOM\x95\x74\x82\xab)\x82\xc9\x95\xcf\x8a\xb7\x81\x69\x8e\xa9\x93\xae\x94\xbb\x95\xca"
     "\x81\x6a",
     Target::kUtf8Bom},
    // UTF-16LE(BOM付き)に変換（自動判別）
    {"UTF-16LE(BOM\x95\x74\x82\xab)\x82\xc9\x95\xcf\x8a\xb7\x81\x69\x8e\xa9\x93\xae\x94\xbb\x95"
     "\xca\x81\x6a",
     Target::kUtf16Le},
    // シフトJISに変換（UTF-8/UTF-16から）
    {"\x83\x56\x83\x74\x83\x67JIS\x82\xc9\x95\xcf\x8a\xb7\x81\x69UTF-8/UTF-16\x82\xa9\x82\xe7"
     "\x81\x6a",
     Target::kSjis},
}};

const Function* FunctionFor(const ConvertRequest* request) {
    return plugin_support::FunctionFor(kFunctions, request);
}

}  // namespace

XFM_EXPORT uint32_t XFM_CALL XfmGetVersion(void) {
    return XFM_VERSION(1, 0, 0, 0);
}

XFM_EXPORT uint32_t XFM_CALL XfmGetCount(void) {
    return kFunctions.size();
}

XFM_EXPORT const char* XFM_CALL XfmGetTitle(uint32_t index) {
    return index < kFunctions.size() ? kFunctions[index].title : nullptr;
}

XFM_EXPORT uint32_t XFM_CALL XfmIsUseTable(uint32_t) {
    return 0;
}

// An upper bound of the output; 0 when the text stays as it is or the bound does not fit 32
// bits.
XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const Function* function = FunctionFor(request);
    if (function == nullptr || request->inputLength == 0) {
        return 0;
    }
    const unibridge::Source source = unibridge::Detect(request->input, request->inputLength);
    return plugin_support::SizeOrZero(
        unibridge::OutputBound(function->target, source, request->input, request->inputLength));
}

// Fails with a message naming the first place it cannot convert, and without one (nothing
// written past the buffer) when the output does not fit `outputCapacity`.
XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const Function* function = FunctionFor(request);
    if (function == nullptr || request->inputLength == 0 || request->output == nullptr) {
        return 0;
    }
    std::size_t written = 0;
    // UTF-8 to Shift JIS checks the text on its way, so most texts need no detection first.
    if (function->target == Target::kSjis &&
        !unibridge::DecidedBeforeUtf8(request->input, request->inputLength) &&
        unibridge::ConvertUtf8ToSjis(request->input, request->inputLength, request->output,
                                     request->outputCapacity, written)) {
        request->outputLength = static_cast<uint32_t>(written);
        return 1;
    }
    const unibridge::Source source = unibridge::Detect(request->input, request->inputLength);
    if (unibridge::OutputBound(function->target, source, request->input, request->inputLength) ==
        0) {
        return 0;
    }
    const unibridge::Fault fault =
        unibridge::Convert(function->target, source, request->input, request->inputLength,
                           request->output, request->outputCapacity, written);
    if (fault) {
        if (fault.kind != unibridge::Fault::Kind::kNoRoom) {
            unibridge::ShowFault(fault, source, request->input, request->inputLength);
        }
        return 0;
    }
    request->outputLength = static_cast<uint32_t>(written);
    return 1;
}

XFM_EXPORT uint32_t XFM_CALL XfmRenameFile(const char*, char*, uint32_t) {
    return 0;
}
