// Titles and messages of the table plug-in, in Shift JIS.
#pragma once

namespace rulebook {

// 正規表現テーブルによる置換
inline constexpr char kRegexTableTitle[] =
    "\x90\xb3\x8bK\x95\\\x8c\xbb\x83"
    "e\x81[\x83u\x83\x8b\x82\xc9\x82\xe6\x82\xe9\x92u\x8a\xb7";

// 文字列テーブルによる置換
inline constexpr char kStringTableTitle[] =
    "\x95\xb6\x8e\x9a\x97\xf1\x83"
    "e\x81[\x83u\x83\x8b\x82\xc9\x82\xe6\x82\xe9\x92u\x8a\xb7";

// エラー
inline constexpr char kErrorTitle[] = "\x83G\x83\x89\x81[";

// 変換テーブルファイルをオープンできません。(Error:
inline constexpr char kCannotOpenTable[] =
    "\x95\xcf\x8a\xb7\x83"
    "e\x81[\x83u\x83\x8b\x83t\x83@\x83"
    "C\x83\x8b\x82\xf0\x83I\x81[\x83v"
    "\x83\x93\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81"
    "B(Error:";

// \n変換テーブルを通さずに処理を続行します。
inline constexpr char kContinueWithoutTable[] =
    "\n\x95\xcf\x8a\xb7\x83"
    "e\x81[\x83u\x83\x8b\x82\xf0\x92\xca\x82\xb3\x82\xb8\x82\xc9\x8f\x88"
    "\x97\x9d\x82\xf0\x91\xb1\x8ds\x82\xb5\x82\xdc\x82\xb7\x81"
    "B";

// 変換テーブルはUTF-8ですが、ファイルはシフトJISです。
inline constexpr char kUtf8TableOnShiftJis[] =
    "\x95\xcf\x8a\xb7\x83"
    "e\x81[\x83u\x83\x8b\x82\xcdUTF-8\x82\xc5\x82\xb7\x82\xaa\x81"
    "A\x83t\x83@\x83"
    "C\x83\x8b\x82\xcd\x83V\x83t\x83gJIS\x82\xc5\x82\xb7\x81"
    "B";

// 変換テーブルはシフトJISですが、ファイルはUTF-8です。
inline constexpr char kShiftJisTableOnUtf8[] =
    "\x95\xcf\x8a\xb7\x83"
    "e\x81[\x83u\x83\x8b\x82\xcd\x83V\x83t\x83gJIS\x82\xc5\x82\xb7\x82\xaa\x81"
    "A\x83t\x83@\x83"
    "C\x83\x8b\x82\xcdUTF-8\x82\xc5\x82\xb7\x81"
    "B";

// Error text of a string-table pair whose result would exceed what a conversion may give.
inline constexpr char kResultTooLarge[] = "result larger than 4 GiB";

// Error text of a command that is neither a substitution nor a translation.
inline constexpr char kNotACommand[] = "do not start 's' or 'tr'";

}  // namespace rulebook
