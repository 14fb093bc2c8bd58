// glyphport: moves the characters that the Mac and Windows Japanese character sets each add to
// Shift JIS (circled digits, Roman numerals, units, ...) to the other platform's codes. The
// text is decoded from the source code page to UTF-16 and encoded into the target code page.
// Unicode text (UTF-8, UTF-16) has no such characters at platform codes, only their code
// points, which both platforms share: both functions leave it alone (size 0, so the step is
// skipped without a word). EUC-JP and JIS are the code page of neither platform, and their
// extensions (where they have any) lie at other codes: a text in either is left unchanged with
// a message naming its encoding.
#include <array>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "foreign_form.h"
#include "platform/codepage.h"
#include "platform/message_box.h"
#include "platform/text_encoding.h"
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

void ShowNotShiftJis(const char* encoding) {
    const std::string text = platform::Utf8ToCp932(
        std::string("このファイルは") + encoding +
        "です。機種依存文字の変換はシフトJISのファイルにだけ行います。\n"
        "「シフトJISに変換（自動判別）」でシフトJISに変換してから実行してください。");
    platform::ShowMessageBox(text.c_str(), platform::Utf8ToCp932("エラー").c_str(),
                             platform::kButtonsOk | platform::kIconStop);
}

// Whether the request's text is Shift JIS (or ASCII) to be converted; an EUC-JP or JIS text is
// refused with the message.
bool IsPlatformText(const ConvertRequest& request) {
    const std::string_view text(reinterpret_cast<const char*>(request.input), request.inputLength);
    if (platform::IsUtf8Text(text)) {
        return false;
    }
    const platform::TextForm form = plugin_support::FormOf(request.input, request.inputLength);
    if (platform::IsUtf16(form)) {
        return false;
    }
    if (const char* encoding = plugin_support::ForeignFormName(form)) {
        ShowNotShiftJis(encoding);
        return false;
    }
    return true;
}

const Function* FunctionFor(const ConvertRequest* request) {
    const Function* function = plugin_support::FunctionFor(kFunctions, request);
    if (function == nullptr || !platform::IsValidCodePage(function->sourceCodePage) ||
        !platform::IsValidCodePage(function->targetCodePage) || !IsPlatformText(*request)) {
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
