#include "utf8_refusal.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/message_box.h"
#include "platform/text_encoding.h"
#include "platform/utf8_text.h"

namespace encswap {
namespace {

constexpr std::size_t kBlock = 64;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// The length of the longest prefix made of whole blocks of ASCII.
std::size_t AsciiBlocks(const unsigned char* in, std::size_t n) {
    std::size_t i = 0;
    for (; n - i >= kBlock; i += kBlock) {
        std::uint64_t words[kBlock / 8];
        std::memcpy(words, in + i, kBlock);
        std::uint64_t any = 0;
        for (const std::uint64_t word : words) {
            any |= word;
        }
        if ((any & kHighBits) != 0) {
            break;
        }
    }
    return i;
}

}  // namespace

bool IsUtf8Input(const unsigned char* in, std::size_t n) {
    // A leading run of ASCII adds nothing to the rule's verdict as long as what remains does
    // not start with a byte-order mark of its own: so the rest is classed from the last ASCII
    // byte of the run on.
    std::size_t skip = AsciiBlocks(in, n);
    if (skip == n) {
        return false;
    }
    skip = skip == 0 ? 0 : skip - 1;
    const std::string_view rest(reinterpret_cast<const char*>(in) + skip, n - skip);
    return platform::ClassifyText(rest) == platform::TextKind::kUtf8;
}

void ShowUtf8Refusal() {
    static const std::string text = platform::Utf8ToCp932(
        "このファイルはUTF-8のため、JIS・EUC・シフトJISの間では変換できません。\n"
        "UTF-8は「シフトJISに変換（UTF-8/UTF-16から）」でシフトJISに変換してください。");
    static const std::string title = platform::Utf8ToCp932("エラー");
    platform::ShowMessageBox(text.c_str(), title.c_str(),
                             platform::kButtonsOk | platform::kIconStop);
}

}  // namespace encswap
