// unibridge: converts Japanese text between Shift JIS, EUC-JP or JIS and UTF-8 or UTF-16,
// detecting the form a text is in (see detect.h for the rule). Nothing is lost silently: a
// character Shift JIS cannot hold, or bytes that are no character of the text's encoding,
// make the conversion fail with a message that names the first such place; the two fallbacks
// put 〓 or a numeric reference in its place instead and say how often and where.
#include <array>
#include <cstdint>
#include <cstring>

#include "convert.h"
#include "platform/text_form.h"
#include "fault_message.h"
#include "plugin_entries.h"
#include "request_checks.h"
#include "xfm_plugin.h"

namespace {

using unibridge::Target;

// Titles are Shift JIS.
constexpr plugin_support::PluginInfo<7> kPlugin = {
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
        // シフトJISに変換（UTF-8/UTF-16から、ない文字は〓）
        {"\x83V\x83t\x83gJIS\x82\xc9\x95\xcf\x8a\xb7\x81iUTF-8/UTF-16\x82\xa9\x82\xe7\x81"
         "A\x82\xc8\x82\xa2\x95\xb6\x8e\x9a\x82\xcd\x81\xac\x81j"},
        // シフトJISに変換（UTF-8/UTF-16から、ない文字は&#x…;）
        {"\x83V\x83t\x83gJIS\x82\xc9\x95\xcf\x8a\xb7\x81iUTF-8/UTF-16\x82\xa9\x82\xe7\x81"
         "A\x82\xc8\x82\xa2\x95\xb6\x8e\x9a\x82\xcd&#x\x81"
         "c;\x81j"},
        // UTF-8に変換（自動判別、&#…;を文字に）
        {"UTF-8\x82\xc9\x95\xcf\x8a\xb7\x81i\x8e\xa9\x93\xae\x94\xbb\x95\xca\x81"
         "A&#\x81"
         "c;\x82\xf0\x95\xb6\x8e\x9a\x82\xc9\x81j"},
    }}};

constexpr std::array<Target, 7> kTargets = {Target::kUtf8,          Target::kUtf8Bom,
                                            Target::kUtf16Le,       Target::kSjis,
                                            Target::kSjisReadable,  Target::kSjisLossless,
                                            Target::kUtf8Refs};

const Target* TargetFor(const ConvertRequest* request) {
    return plugin_support::FunctionFor(kTargets, request);
}

// A conversion that succeeded with `written` bytes, and its note.
uint32_t Done(Target target, ConvertRequest* request, std::size_t written,
              const unibridge::Replacements& replaced) {
    if (replaced.count != 0) {
        unibridge::ShowReplacements(target, replaced);
    }
    request->outputLength = static_cast<uint32_t>(written);
    return 1;
}

// The targets that take UTF-8 or UTF-16 to Shift JIS.
bool ToSjis(Target target) {
    return target == Target::kSjis || unibridge::HasFallback(target);
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
    if (ToSjis(*target) && unibridge::LooksLikeUtf8(request->input, request->inputLength)) {
        return plugin_support::SizeOrZero(
            unibridge::Utf8ToSjisBound(*target, request->input, request->inputLength));
    }
    const unibridge::Source source = platform::DetectTextForm(request->input, request->inputLength);
    return plugin_support::SizeOrZero(
        unibridge::OutputBound(*target, source, request->input, request->inputLength));
}

// Fails with a message naming the first place it cannot convert, and without one (nothing
// written past the buffer) when the output does not fit `outputCapacity`. A fallback that
// replaced something says so in a note.
XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const Target* target = TargetFor(request);
    if (target == nullptr || request->inputLength == 0 || request->output == nullptr) {
        return 0;
    }
    std::size_t written = 0;
    unibridge::Replacements replaced;
    // UTF-8 to Shift JIS checks the text on its way, so most texts need no detection first.
    if (ToSjis(*target) && !platform::DecidedBeforeUtf8(request->input, request->inputLength) &&
        unibridge::ConvertUtf8ToSjis(*target, request->input, request->inputLength,
                                     request->output, request->outputCapacity, written,
                                     replaced)) {
        return Done(*target, request, written, replaced);
    }
    const unibridge::Source source = platform::DetectTextForm(request->input, request->inputLength);
    if (unibridge::OutputBound(*target, source, request->input, request->inputLength) == 0) {
        // Only a size pass that looked at the start of the text alone (LooksLikeUtf8) asks to
        // convert a text that stays as it is: it is passed on unchanged.
        if (!ToSjis(*target) || request->outputCapacity < request->inputLength) {
            return 0;
        }
        std::memcpy(request->output, request->input, request->inputLength);
        return Done(*target, request, request->inputLength, replaced);
    }
    const unibridge::Fault fault =
        unibridge::HasFallback(*target)
            ? unibridge::ConvertWithFallback(*target, source, request->input,
                                             request->inputLength, request->output,
                                             request->outputCapacity, written, replaced)
            : unibridge::Convert(*target, source, request->input, request->inputLength,
                                 request->output, request->outputCapacity, written);
    if (fault) {
        if (fault.kind != unibridge::Fault::Kind::kNoRoom) {
            unibridge::ShowFault(fault, source, request->input, request->inputLength);
        }
        return 0;
    }
    return Done(*target, request, written, replaced);
}
