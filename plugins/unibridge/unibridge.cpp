// unibridge: converts Japanese text between Shift JIS, EUC-JP or JIS and UTF-8 or UTF-16,
// detecting the form a text is in (see detect.h for the rule). Nothing is lost silently: a
// character Shift JIS cannot hold, or bytes that are no character of the text's encoding,
// make the conversion fail with a message that names the first such place.
#include <array>
#include <cstdint>

#include "convert.h"
#include "platform/text_form.h"
#include "fault_message.h"
#include "plugin_entries.h"
#include "request_checks.h"
#include "xfm_plugin.h"

namespace {

using unibridge::Target;

// Titles are Shift JIS.
constexpr plugin_support::PluginInfo<4> kPlugin = {
    XFM_VERSION(1, 0, 0, 0),
    {{
        // UTF-8に変換（自動判別）
        {"UTF-8\x82\xc9\x95\xcf\x8a\xb7\x81\x69\x8e\xa9\x93\xae\x94\xbb\x95\xca\x81\x6a"},
        // UTF-8(BOM付き)に変換（自動判別）
        {"UTF-8(BOM\x95\x74\x82\xab)"
         "\x82\xc9\x95\xcf\x8a\xb7\x81\x69\x8e\xa9\x93\xae\x94\xbb\x95\xca"
         "\x81\x6a"},
        // UTF-16LE(BOM付き)に変換（自動判別）
        {"UTF-16LE(BOM\x95\x74\x82\xab)\x82\xc9\x95\xcf\x8a\xb7\x81\x69\x8e\xa9\x93\xae\x94\xbb\x95"
         "\xca\x81\x6a"},
        // シフトJISに変換（UTF-8/UTF-16から）
        {"\x83\x56\x83\x74\x83\x67JIS\x82\xc9\x95\xcf\x8a\xb7\x81\x69UTF-8/UTF-16\x82\xa9\x82\xe7"
         "\x81\x6a"},
    }}};

constexpr std::array<Target, 4> kTargets = {Target::kUtf8, Target::kUtf8Bom, Target::kUtf16Le,
                                            Target::kSjis};

const Target* TargetFor(const ConvertRequest* request) {
    return plugin_support::FunctionFor(kTargets, request);
}

}  // namespace

XFM_DEFINE_TABLE_ENTRIES(kPlugin)

// An upper bound of the output; 0 when the text stays as it is or the bound does not fit 32
// bits.
XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const Target* target = TargetFor(request);
    if (target == nullptr || request->inputLength == 0) {
        return 0;
    }
    const unibridge::Source source = platform::DetectTextForm(request->input, request->inputLength);
    return plugin_support::SizeOrZero(
        unibridge::OutputBound(*target, source, request->input, request->inputLength));
}

// Fails with a message naming the first place it cannot convert, and without one (nothing
// written past the buffer) when the output does not fit `outputCapacity`.
XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const Target* target = TargetFor(request);
    if (target == nullptr || request->inputLength == 0 || request->output == nullptr) {
        return 0;
    }
    std::size_t written = 0;
    // UTF-8 to Shift JIS checks the text on its way, so most texts need no detection first.
    if (*target == Target::kSjis &&
        !platform::DecidedBeforeUtf8(request->input, request->inputLength) &&
        unibridge::ConvertUtf8ToSjis(request->input, request->inputLength, request->output,
                                     request->outputCapacity, written)) {
        request->outputLength = static_cast<uint32_t>(written);
        return 1;
    }
    const unibridge::Source source = platform::DetectTextForm(request->input, request->inputLength);
    if (unibridge::OutputBound(*target, source, request->input, request->inputLength) == 0) {
        return 0;
    }
    const unibridge::Fault fault =
        unibridge::Convert(*target, source, request->input, request->inputLength, request->output,
                           request->outputCapacity, written);
    if (fault) {
        if (fault.kind != unibridge::Fault::Kind::kNoRoom) {
            unibridge::ShowFault(fault, source, request->input, request->inputLength);
        }
        return 0;
    }
    request->outputLength = static_cast<uint32_t>(written);
    return 1;
}
