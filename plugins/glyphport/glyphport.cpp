// glyphport: moves the characters that the Mac and Windows Japanese character sets each add to
// Shift JIS (circled digits, Roman numerals, units, ...) to the other platform's codes. The
// text is decoded from the source code page to UTF-16 and encoded into the target code page.
// UTF-8 text has no such characters, only their Unicode code points: both functions leave it
// alone (size 0, so the step is skipped without a word).
#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <string_view>

#include "platform/codepage.h"
#include "platform/utf8_text.h"
#include "plugin_entries.h"
#include "request_checks.h"
#include "xfm_plugin.h"

namespace {

// Titles are Shift JIS.
constexpr plugin_support::PluginInfo<2> kPlugin = {
    XFM_VERSION(1, 0, 0, 2),
    {{
        // 機種依存文字(Mac→Win)変換
        {"\x8b\x40\x8e\xed\x88\xcb\x91\xb6\x95\xb6\x8e\x9a(Mac\x81\xa8Win)\x95\xcf\x8a\xb7"},
        // 機種依存文字(Win→Mac)変換
        {"\x8b\x40\x8e\xed\x88\xcb\x91\xb6\x95\xb6\x8e\x9a(Win\x81\xa8Mac)\x95\xcf\x8a\xb7"},
    }}};

struct Function {
    unsigned sourceCodePage;
    unsigned targetCodePage;
};

constexpr std::array<Function, 2> kFunctions = {{
    {platform::kCodePageMacJapanese, platform::kCodePageWindowsJapanese},
    {platform::kCodePageWindowsJapanese, platform::kCodePageMacJapanese},
}};

const Function* FunctionFor(const ConvertRequest* request) {
    const Function* function = plugin_support::FunctionFor(kFunctions, request);
    if (function == nullptr || !platform::IsValidCodePage(function->sourceCodePage) ||
        !platform::IsValidCodePage(function->targetCodePage)) {
        return nullptr;
    }
    // Nothing to do for UTF-8 text.
    const std::string_view text(reinterpret_cast<const char*>(request->input),
                                request->inputLength);
    if (platform::IsUtf8Text(text)) {
        return nullptr;
    }
    return function;
}

// The whole input decoded to UTF-16. Zero bytes are characters like any other, so nothing
// after one is lost.
struct WorkText {
    std::unique_ptr<char16_t[]> units;
    std::size_t length = 0;
};

bool Decode(const ConvertRequest& request, const Function& function, WorkText& text) {
    // No text has more units than bytes; one more unit keeps an empty input's buffer real.
    const std::size_t capacity = static_cast<std::size_t>(request.inputLength) + 1;
    text.units.reset(new (std::nothrow) char16_t[capacity]);
    if (!text.units) {
        return false;
    }
    text.length = platform::MultiByteToWideChar(function.sourceCodePage, request.input,
                                                request.inputLength, text.units.get(), capacity);
    return true;
}

// Encoded length plus the terminating zero byte, or 0 when that does not fit 32 bits.
std::uint32_t OutputSize(const Function& function, const WorkText& text) {
    const std::uint64_t encoded = platform::WideCharToMultiByte(
        function.targetCodePage, text.units.get(), text.length, nullptr, 0);
    return plugin_support::SizeOrZero(encoded + 1);
}

}  // namespace

XFM_DEFINE_TABLE_ENTRIES(kPlugin)

XFM_EXPORT uint32_t XFM_CALL XfmGetBufferSize(ConvertRequest* request) {
    const Function* function = FunctionFor(request);
    WorkText text;
    if (function == nullptr || !Decode(*request, *function, text)) {
        return 0;
    }
    return OutputSize(*function, text);
}

XFM_EXPORT uint32_t XFM_CALL XfmConvert(ConvertRequest* request) {
    const Function* function = FunctionFor(request);
    if (function == nullptr || request->output == nullptr || request->outputCapacity == 0) {
        return 0;
    }
    WorkText text;
    if (!Decode(*request, *function, text)) {
        return 0;
    }
    // The encoder refuses (0) a buffer too small for the text and keeps room for the zero byte;
    // every unit takes at least one byte, so 0 for a non-empty text is that refusal.
    const std::size_t written =
        platform::WideCharToMultiByte(function->targetCodePage, text.units.get(), text.length,
                                      request->output, request->outputCapacity - 1u);
    if (written == 0 && text.length != 0) {
        return 0;
    }
    request->output[written] = 0;
    request->outputLength = static_cast<std::uint32_t>(written);
    return 1;
}
