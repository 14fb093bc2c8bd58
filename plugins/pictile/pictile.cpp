// pictile: turns a bitmap file into an icon file holding one image of the same size, every
// pixel opaque. Colour depths and colour tables are kept (three-byte entries of the old
// 12-byte header widened to four); run-length data is expanded, and bit-field pixels become
// 24-bit pixels, or 32-bit ones with their alpha channel.
#include <cstdint>
#include <optional>

#include "icon_layout.h"
#include "icon_writer.h"
#include "plugin_entries.h"
#include "xfm_plugin.h"

namespace {

// The result is always an icon, whatever index the host names. A bitmap is binary: the function
// takes any bytes.
constexpr plugin_support::PluginInfo<1> kPlugin = {
    XFM_VERSION(1, 0, 0, 2),
    {{
        // ビットマップ→アイコン変換 (Shift JIS)
        {"\x83\x72\x83\x62\x83\x67\x83\x7d\x83\x62\x83\x76\x81\xa8\x83\x41\x83\x43\x83\x52\x83\x93"
         "\x95\xcf\x8a\xb7",
         plugin_support::kNoTable, ".ico", plugin_support::kAnyBytes},
    }},
    true};

std::optional<pictile::IconLayout> LayoutFor(const ConvertRequest* request) {
    if (request == nullptr || request->functionIndex != 0) {
        return std::nullopt;
    }
    return pictile::ReadIconLayout(request->input, request->inputLength);
}

}  // namespace

XFM_DEFINE_TABLE_ENTRIES(kPlugin)

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const auto layout = LayoutFor(request);
    return layout ? layout->FileBytes() : 0;
}

XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const auto layout = LayoutFor(request);
    if (!layout || request->output == nullptr || layout->FileBytes() > request->outputCapacity) {
        return 0;
    }
    if (!pictile::WriteIcon(*layout, request->input, request->output)) {
        return 0;
    }
    request->outputLength = layout->FileBytes();
    return 1;
}
