// base64: encodes any file into Base64 text and decodes Base64 text back into bytes.
#include <array>
#include <cstdint>

#include "decoder.h"
#include "encoder.h"
#include "plugin_entries.h"
#include "request_checks.h"
#include "xfm_plugin.h"

namespace {

enum class Direction { kEncode, kDecode };

// Titles are Shift JIS. Both functions take any bytes: binary files are what one encodes, and
// a decoded text may be anything.
constexpr plugin_support::PluginInfo<2> kPlugin = {
    XFM_VERSION(1, 0, 0, 1),
    {{
        // base64エンコード
        {"base64\x83\x47\x83\x93\x83\x52\x81\x5b\x83\x68", plugin_support::kNoTable, ".txt",
         plugin_support::kAnyBytes},
        // base64デコード
        {"base64\x83\x66\x83\x52\x81\x5b\x83\x68", plugin_support::kNoTable, ".bin",
         plugin_support::kAnyBytes},
    }}};

constexpr std::array<Direction, 2> kDirections = {Direction::kEncode, Direction::kDecode};

const Direction* DirectionFor(const ConvertRequest* request) {
    return plugin_support::FunctionFor(kDirections, request);
}

// Exact output size, or 0 when it cannot be described in 32 bits.
std::uint32_t OutputSize(const ConvertRequest& request, Direction direction) {
    const std::uint64_t size = direction == Direction::kEncode
                                   ? base64::EncodedSize(request.inputLength)
                                   : base64::DecodedSize(request.input, request.inputLength);
    return plugin_support::SizeOrZero(size);
}

}  // namespace

XFM_DEFINE_TABLE_ENTRIES(kPlugin)

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const Direction* direction = DirectionFor(request);
    return direction == nullptr ? 0 : OutputSize(*request, *direction);
}

XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const Direction* direction = DirectionFor(request);
    if (direction == nullptr || (request->output == nullptr && request->outputCapacity != 0)) {
        return 0;
    }
    if (*direction == Direction::kEncode) {
        const std::uint32_t size = OutputSize(*request, Direction::kEncode);
        if ((size == 0 && request->inputLength != 0) || size > request->outputCapacity) {
            return 0;
        }
        base64::Encode(request->input, request->inputLength, request->output);
        request->outputLength = size;
        return 1;
    }
    // The decoder stops at the end of the buffer, so a short buffer fails instead of
    // overflowing, without a second pass over the text.
    const auto written = base64::Decode(request->input, request->inputLength, request->output,
                                        request->outputCapacity);
    if (!written) {
        return 0;
    }
    request->outputLength = static_cast<std::uint32_t>(*written);
    return 1;
}
