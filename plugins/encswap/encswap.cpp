// encswap: converts Japanese text between JIS, EUC and Shift JIS, either from a named encoding
// or from the one detected in the text. UTF-8 and UTF-16 text is refused (see utf8_refusal.h).
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "conversions.h"
#include "platform/cpu_features.h"
#include "platform/text_form.h"
#include "platform/utf8_text.h"
#include "plugin_entries.h"
#include "request_checks.h"
#include "utf8_refusal.h"
#include "xfm_plugin.h"

namespace {

using encswap::Encoding;
using encswap::Route;

// Titles are Shift JIS.
constexpr plugin_support::PluginInfo<9> kPlugin = {
    XFM_VERSION(1, 0, 0, 2),
    {{
        // シフトJISに変換（自動判別）
        {"\x83\x56\x83\x74\x83\x67JIS\x82\xc9\x95\xcf\x8a\xb7"
         "\x81\x69\x8e\xa9\x93\xae\x94\xbb\x95\xca\x81\x6a"},
        // JISに変換（自動判別）
        {"JIS\x82\xc9\x95\xcf\x8a\xb7\x81\x69\x8e\xa9\x93\xae\x94\xbb\x95\xca\x81\x6a"},
        // EUCに変換（自動判別）
        {"EUC\x82\xc9\x95\xcf\x8a\xb7\x81\x69\x8e\xa9\x93\xae\x94\xbb\x95\xca\x81\x6a"},
        // シフトJIS→JIS変換
        {"\x83\x56\x83\x74\x83\x67JIS\x81\xa8JIS\x95\xcf\x8a\xb7"},
        // シフトJIS→EUC変換
        {"\x83\x56\x83\x74\x83\x67JIS\x81\xa8"
         "EUC\x95\xcf\x8a\xb7"},
        // JIS→シフトJIS変換
        {"JIS\x81\xa8\x83\x56\x83\x74\x83\x67JIS\x95\xcf\x8a\xb7"},
        // JIS→EUC変換
        {"JIS\x81\xa8"
         "EUC\x95\xcf\x8a\xb7"},
        // EUC→シフトJIS変換
        {"EUC\x81\xa8\x83\x56\x83\x74\x83\x67JIS\x95\xcf\x8a\xb7"},
        // EUC→JIS変換
        {"EUC\x81\xa8JIS\x95\xcf\x8a\xb7"},
    }}};

// What each function reads and writes, in title order.
constexpr std::array<Route, 9> kRoutes = {{
    {std::nullopt, Encoding::kSjis},
    {std::nullopt, Encoding::kJis},
    {std::nullopt, Encoding::kEuc},
    {Encoding::kSjis, Encoding::kJis},
    {Encoding::kSjis, Encoding::kEuc},
    {Encoding::kJis, Encoding::kSjis},
    {Encoding::kJis, Encoding::kEuc},
    {Encoding::kEuc, Encoding::kSjis},
    {Encoding::kEuc, Encoding::kJis},
}};
static_assert(kRoutes.size() == kPlugin.functions.size());

const Route* RouteFor(const ConvertRequest* request) {
    return plugin_support::FunctionFor(kRoutes, request);
}

// The conversions built for one processor level.
struct Kernels {
    std::uint64_t (*outputSize)(const Route&, const unsigned char*, std::size_t);
    bool (*writeOutput)(const Route&, const unsigned char*, std::size_t, unsigned char*,
                        std::size_t, std::size_t&);
};

// The best level the processor offers (and POLYSHIFT_ISA allows), chosen at the first call.
const Kernels& ChosenKernels() {
    static const Kernels kernels = [] {
#if defined(ENCSWAP_WITH_AVX512)
        if (platform::Cpu().avx512) {
            return Kernels{&encswap::avx512::OutputSize, &encswap::avx512::WriteOutput};
        }
#endif
#if defined(ENCSWAP_WITH_AVX2)
        if (platform::Cpu().avx2) {
            return Kernels{&encswap::avx2::OutputSize, &encswap::avx2::WriteOutput};
        }
#endif
        return Kernels{&encswap::baseline::OutputSize, &encswap::baseline::WriteOutput};
    }();
    return kernels;
}

std::uint64_t OutputSize(const Route& route, const ConvertRequest& request) {
    return ChosenKernels().outputSize(route, request.input, request.inputLength);
}

bool WriteOutput(const Route& route, ConvertRequest& request, std::size_t& written) {
    return ChosenKernels().writeOutput(route, request.input, request.inputLength, request.output,
                                       request.outputCapacity, written);
}

}  // namespace

XFM_DEFINE_TABLE_ENTRIES(kPlugin)

// The exact output length. A non-empty text whose output is empty (nothing but mode switches)
// reports 1, so that the conversion still runs; an output that does not fit 32 bits reports 0.
// UTF-8 text is measured like any other: the conversion refuses it, so that a legacy text,
// which must be read whole to tell it from UTF-8 when it is all ASCII (JIS), is read so only
// once per step.
XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const Route* route = RouteFor(request);
    if (route == nullptr || request->inputLength == 0) {
        return 0;
    }
    const std::uint64_t size = OutputSize(*route, *request);
    return size == 0 ? 1 : plugin_support::SizeOrZero(size);
}

// Fails, having written nothing past the buffer, when the output does not fit `outputCapacity`;
// fails with a message, writing nothing, for UTF-16 and UTF-8 text. The message is shown here
// only, so a step shows it once per file.
XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const Route* route = RouteFor(request);
    if (route == nullptr || (request->output == nullptr && request->outputCapacity != 0)) {
        return 0;
    }
    if (platform::IsUtf16(platform::DetectUtf16Form(request->input, request->inputLength))) {
        encswap::ShowUtf16Refusal();
        return 0;
    }
    if (platform::IsUtf8Text(std::string_view(reinterpret_cast<const char*>(request->input),
                                              request->inputLength))) {
        encswap::ShowUtf8Refusal();
        return 0;
    }
    std::size_t written = 0;
    if (!WriteOutput(*route, *request, written)) {
        return 0;
    }
    request->outputLength = static_cast<uint32_t>(written);
    return 1;
}
