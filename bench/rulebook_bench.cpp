// rulebook: a 100-pair string table and a 20-command regular-expression table over 10 MB of
// Japanese text, size pass plus conversion as the host runs them; once in Shift JIS and once
// in UTF-8 (the same tables and prose).
#include <string>
#include <string_view>
#include <vector>

#include "plugin_bench.h"
#include "support/sample_text.h"
#include "support/temp_folder.h"

namespace {

using testing_support::Sjis;

// The tables below are written in UTF-8 and stored in the encoding of the text they meet.
using Encode = std::string (*)(std::string_view utf8);

std::string AsUtf8(std::string_view utf8) {
    return std::string(utf8);
}

// Width normalisation (full-width digits and letters to ASCII) plus words, some of which
// the text holds and some it does not: 100 pairs.
std::string StringTable(Encode encode) {
    std::string table = "# full-width to half-width, then words\n";
    const std::string digits = encode("０１２３４５６７８９");
    const std::string upper = encode("ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ");
    const std::string lower = encode("ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ");
    const std::size_t width = digits.size() / 10;  // bytes of one full-width character
    for (std::size_t i = 0; i < 10; ++i) {
        table += digits.substr(width * i, width) + "\t" + std::string(1, char('0' + i)) + "\n";
    }
    for (std::size_t i = 0; i < 26; ++i) {
        table += upper.substr(width * i, width) + "\t" + std::string(1, char('A' + i)) + "\n";
        table += lower.substr(width * i, width) + "\t" + std::string(1, char('a' + i)) + "\n";
    }
    const char* words[][2] = {
        {"吾輩", "我輩"},
        {"猫", "ねこ"},
        {"名前", "なまえ"},
        {"薄暗い", "うすぐらい"},
        {"記憶", "きおく"},
        {"東京都", "東京"},
        {"千代田区", "千代田"},
        {"電話", "TEL"},
        {"平日", "weekday"},
        {"ﾃﾞｰﾀﾍﾞｰｽ", "データベース"},
        {"ﾊﾞｯｸｱｯﾌﾟ", "バックアップ"},
        {"取得", "しゅとく"},
        {"Version", "Ver."},
        {"自動判別", "自動検出"},
        {"改善", "かいぜん"},
        {"春", "はる"},
        {"あけぼの", "曙"},
        {"価格", "値段"},
        {"税込", "税込み"},
        {"株式会社", "(株)"},
        {"営業部", "営業"},
        {"カタカナ", "片仮名"},
        {"ひらがな", "平仮名"},
        {"漢字", "かんじ"},
        {"fox", "cat"},
        {"lazy", "sleepy"},
        {"会議", "ミーティング"},
        {"午後", "PM"},
        {"※", "*"},
        {"お問い合わせ", "お問合せ"},
        {"表示", "ひょうじ"},
        {"予定", "よてい"},
        {"能力", "のうりょく"},
        {"ソフト", "ソフトウェア"},
        {"申請", "しんせい"},
        {"存在しない語", "x"},
        {"もう一つ無い語", "y"},
        {"\\x7f", "DEL"},
    };
    for (const auto& w : words) {
        table += encode(w[0]) + "\t" + encode(w[1]) + "\n";
    }
    return table;
}

// Twenty commands of the kinds people write: width and kana translations, numbers,
// words, line starts and ends, spaces.
std::string RegexTable(Encode encode) {
    const char* commands[] = {
        "tr/０-９/0-9/k",
        "tr/Ａ-Ｚａ-ｚ/A-Za-z/k",
        "s/(\\d+)-(\\d+)-(\\d+)/$1($2)$3/g",
        "s/猫/ねこ/gk",
        "s/株式会社/(株)/gk",
        "s/Version (\\d+)\\.(\\d+)/v$1.$2/g",
        "s/ﾃﾞｰﾀﾍﾞｰｽ/データベース/g",
        "tr/ぁ-みむ-ん/ァ-ミム-ン/k",
        "s/、/，/gk",
        "s/the/THE/gi",
        "s/(\\d+):(\\d+)/$1時$2分/g",
        "s/^/> /gm",
        "s/（/(/gk",
        "s/）/)/gk",
        "s/\\bfox\\b/cat/g",
        "s/ +/ /g",
        "s/ﾊﾞｯｸｱｯﾌﾟ/バックアップ/g",
        "s/会議(室|は)/ミーティング$1/gk",
        "s/[Ａ-Ｚ]+/<$&>/gk",
        "s/\\r$//gm",
    };
    std::string table = "# normalise a document\n";
    for (const char* c : commands) {
        table += encode(c) + "\n";
    }
    return table;
}

const testing_support::TempFolder& Folder() {
    static const testing_support::TempFolder folder;
    return folder;
}

// The prose in one encoding and the paths of both tables stored in that encoding.
struct Sample {
    std::string text;
    std::string stringTable;
    std::string regexTable;
};

Sample MakeSample(std::string text, Encode encode, const std::string& suffix) {
    return {std::move(text), Folder().Write("strings" + suffix + ".tbl", StringTable(encode)),
            Folder().Write("regex" + suffix + ".tbl", RegexTable(encode))};
}

const Sample& SjisSample() {
    static const Sample sample =
        MakeSample(testing_support::JapaneseText(10 << 20, "\r\n"), Sjis, "");
    return sample;
}

const Sample& Utf8Sample() {
    static const Sample sample =
        MakeSample(testing_support::JapaneseUtf8Text(10 << 20, "\r\n"), AsUtf8, "-utf8");
    return sample;
}

// memcpy of the sample's text, then the string table and the regular-expression table over it;
// the names end in `suffix`.
void RegisterRuns(const std::string& suffix, const Sample& (*sample)()) {
    benchmark::RegisterBenchmark(("BM_Memcpy" + suffix).c_str(), [=](benchmark::State& state) {
        bench_support::RunMemcpy(state, sample().text);
    })->Unit(benchmark::kMillisecond);
    const struct {
        const char* name;
        uint32_t function;
        std::string Sample::*table;
    } runs[] = {{"BM_StringTable100Pairs", 1, &Sample::stringTable},
                {"BM_RegexTable20Commands", 0, &Sample::regexTable}};
    for (const auto& run : runs) {
        benchmark::RegisterBenchmark((run.name + suffix).c_str(), [=](benchmark::State& state) {
            bench_support::RunConversion(state, bench_support::Plugin("rulebook"), run.function,
                                         sample().text, (sample().*run.table).c_str());
        })->Unit(benchmark::kMillisecond);
    }
}

[[maybe_unused]] const bool kRunsRegistered = [] {
    RegisterRuns("", SjisSample);
    RegisterRuns("Utf8", Utf8Sample);
    return true;
}();

}  // namespace
