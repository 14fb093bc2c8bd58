// Expectations generated offline with Python's unicodedata (NFKC), so that the tests hold the
// plug-in to Unicode's own folding rather than to a copy of its tables:
//   - kNfkcWide and kNfkcNarrow: every character of the blocks CJK Symbols and Punctuation and
//     Halfwidth and Fullwidth Forms whose NFKC is one ASCII character, and that character;
//   - kNfkcKana...: NFKC of each half-width katakana U+FF61-U+FF9F alone, followed by the voiced
//     mark U+FF9E and followed by the semi-voiced mark U+FF9F, one entry per kana in order,
//     separated by "|" (U+3099 and U+309A are the combining sound marks).
#pragma once

#include <string_view>

namespace widthfold_test {

inline constexpr std::string_view kNfkcWide =
    "　！＂＃＄％＆＇（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠ＡＢＣＤＥＦＧ"
    "ＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［＼］＾＿｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏ"
    "ｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～";
inline constexpr std::string_view kNfkcNarrow =
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNO"
    "PQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
inline constexpr std::string_view kNfkcKanaAlone =
    "。|「|」|、|・|ヲ|ァ|ィ|ゥ|ェ|ォ|ャ|ュ|ョ|ッ|ー|ア|イ|ウ|エ|オ|"
    "カ|キ|ク|ケ|コ|サ|シ|ス|セ|ソ|タ|チ|ツ|テ|ト|ナ|ニ|ヌ|ネ|ノ|ハ|"
    "ヒ|フ|ヘ|ホ|マ|ミ|ム|メ|モ|ヤ|ユ|ヨ|ラ|リ|ル|レ|ロ|ワ|ン|\u3099|\u309A";
inline constexpr std::string_view kNfkcKanaVoiced =
    "。\u3099|「\u3099|」\u3099|、\u3099|・\u3099|ヺ|ァ\u3099|ィ\u3099|ゥ\u3099|"
    "ェ\u3099|ォ\u3099|ャ\u3099|ュ\u3099|ョ\u3099|ッ\u3099|ー\u3099|ア\u3099|イ\u3099|"
    "ヴ|エ\u3099|オ\u3099|ガ|ギ|グ|ゲ|ゴ|ザ|"
    "ジ|ズ|ゼ|ゾ|ダ|ヂ|ヅ|デ|ド|"
    "ナ\u3099|ニ\u3099|ヌ\u3099|ネ\u3099|ノ\u3099|バ|ビ|ブ|ベ|"
    "ボ|マ\u3099|ミ\u3099|ム\u3099|メ\u3099|モ\u3099|ヤ\u3099|ユ\u3099|ヨ\u3099|"
    "ラ\u3099|リ\u3099|ル\u3099|レ\u3099|ロ\u3099|ヷ|ン\u3099|\u3099\u3099|\u309A\u3099";
inline constexpr std::string_view kNfkcKanaSemiVoiced =
    "。\u309A|「\u309A|」\u309A|、\u309A|・\u309A|ヲ\u309A|ァ\u309A|ィ\u309A|ゥ\u309A|"
    "ェ\u309A|ォ\u309A|ャ\u309A|ュ\u309A|ョ\u309A|ッ\u309A|ー\u309A|ア\u309A|イ\u309A|"
    "ウ\u309A|エ\u309A|オ\u309A|カ\u309A|キ\u309A|ク\u309A|ケ\u309A|コ\u309A|サ\u309A|"
    "シ\u309A|ス\u309A|セ\u309A|ソ\u309A|タ\u309A|チ\u309A|ツ\u309A|テ\u309A|ト\u309A|"
    "ナ\u309A|ニ\u309A|ヌ\u309A|ネ\u309A|ノ\u309A|パ|ピ|プ|ペ|"
    "ポ|マ\u309A|ミ\u309A|ム\u309A|メ\u309A|モ\u309A|ヤ\u309A|ユ\u309A|ヨ\u309A|"
    "ラ\u309A|リ\u309A|ル\u309A|レ\u309A|ロ\u309A|ワ\u309A|ン\u309A|\u3099\u309A|\u309A\u309A";

}  // namespace widthfold_test
