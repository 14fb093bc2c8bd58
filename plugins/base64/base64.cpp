// base64: encodes any file into Base64 text and decodes Base64 text back into bytes.
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "decoder.h"
#include "encoder.h"
#include "platform/paths.h"
#include "request_checks.h"
#include "xfm_plugin.h"

namespace {

enum class Direction { kEncode, kDecode };

struct Function {
    const char* title;
    Direction direction;
    const char* extension;  // proposed for the output file
};

// Titles are Shift JIS.
constexpr std::array<Function, 2> kFunctions = {{
    // base64エンコード
    {"base64\x83\x47\x83\x93\x83\x52\x81\x5b\x83\x68", Direction::kEncode, ".txt"},
    // base64デコード
    {"base64\x83\x66\x83\x52\x81\x5b\x83\x68", Direction::kDecode, ".bin"},
}};

const Function* FunctionFor(const ConvertRequest* request) {
    return plugin_support::FunctionFor(kFunctions, request);
}

// Exact output size, or 0 when it cannot be described in 32 bits.
std::uint32_t OutputSize(const ConvertRequest& request, Direction direction) {
    const std::uint64_t size = direction == Direction::kEncode
                                   ? base64::EncodedSize(request.inputLength)
                                   : base64::DecodedSize(request.input, request.inputLength);
    return plugin_support::SizeOrZero(size);
}

}  // namespace

XFM_EXPORT uint32_t XFM_CALL XfmGetVersion(void) {
    return XFM_VERSION(1, 0, 0, 1);
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

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const Function* function = FunctionFor(request);
    return function == nullptr ? 0 : OutputSize(*request, function->direction);
}

XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const Function* function = FunctionFor(request);
    if (function == nullptr || (request->output == nullptr && request->outputCapacity != 0)) {
        return 0;
    }
    if (function->direction == Direction::kEncode) {
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

XFM_EXPORT uint32_t XFM_CALL XfmRenameFile(const char* outputPath, char* newPath, uint32_t index) {
    if (outputPath == nullptr || newPath == nullptr || index >= kFunctions.size()) {
        return 0;
    }
    // Built apart from newPath: an output path too long for the buffer is never copied in.
    const auto renamed =
        platform::ReplaceExtension(std::string_view(outputPath), kFunctions[index].extension);
    if (!renamed) {
        return 0;
    }
    std::memcpy(newPath, renamed->c_str(), renamed->size() + 1);
    return 1;
}
