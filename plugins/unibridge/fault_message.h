// The message that tells the user where a conversion stopped and why.
#pragma once

#include <cstddef>
#include <string>

#include "platform/text_fault.h"
#include "convert.h"
#include "source.h"

namespace unibridge {

// The line (from 1) of the byte at `offset` of the `n` bytes at `in`; lines end with CR LF, LF or
// CR, which in UTF-16 are units of two bytes.
std::size_t LineOf(Source source, const unsigned char* in, std::size_t n, std::size_t offset);

// The message for `fault` (not kNoRoom) in Shift JIS, such as
// "12行目の文字 U+1F600 はシフトJISにありません。",
// "2行目の文字 8F B0 A1 はシフトJISにありません。" or
// "3行目のバイト 82 0A はシフトJISの文字として読めません。".
std::string FaultMessage(const Fault& fault, Source source, const unsigned char* in, std::size_t n);

// Shows that message in a box titled "エラー".
void ShowFault(const Fault& fault, Source source, const unsigned char* in, std::size_t n);

// The note of a conversion through a fallback that replaced something (`target` is
// kSjisReadable or kSjisLossless), such as
// "シフトJISにない文字を置き換えました：3か所（1、4、9行目）。" or
// "シフトJISで元に戻らない文字を数値文字参照にしました：12か所（1、2、3、5、8行目ほか）。"
std::string ReplacementNote(Target target, const Replacements& replaced);

// Shows that note in a box titled "情報".
void ShowReplacements(Target target, const Replacements& replaced);

}  // namespace unibridge
