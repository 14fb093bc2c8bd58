#include "support/sample_text.h"

#include <array>
#include <cstdint>

#include "platform/text_encoding.h"

namespace testing_support {

std::string Sjis(std::string_view utf8) { return platform::Utf8ToCp932(utf8); }

std::string InSystemProfileForm(std::string_view utf8) {
#ifdef _WIN32
    std::string crLf;
    for (const char c : utf8) {
        crLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return Sjis(crLf);
#else
    return std::string(utf8);
#endif
}

namespace {

constexpr std::array<std::string_view, 16> kPhrases = {
    "吾輩は猫である。",
    "名前はまだ無い。",
    "どこで生れたかとんと見当がつかぬ。",
    "何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。",
    "東京都千代田区１丁目２番３号",
    "電話：03-1234-5678（平日9:00～17:00）",
    "ﾃﾞｰﾀﾍﾞｰｽのﾊﾞｯｸｱｯﾌﾟを取得しました。",
    "Version 2.1 では、文字コードの自動判別を改善しました。",
    "「春はあけぼの。やうやう白くなりゆく山ぎは」",
    "価格：￥１，２８０（税込）",
    "ＡＢＣ株式会社　営業部　第二課",
    "カタカナ、ひらがな、漢字が混在するテキストです。",
    "The quick brown fox jumps over the lazy dog. ",
    "会議は午後３時から第５会議室で行います。",
    "※ご不明な点がございましたら、お問い合わせください。",
    "表示・予定・能力・ソフト・申請",
};

}  // namespace

namespace {

std::string Prose(std::size_t bytes, std::string_view lineBreak, bool shiftJis) {
    std::array<std::string, kPhrases.size()> phrases;
    for (std::size_t i = 0; i < kPhrases.size(); ++i) {
        phrases[i] = shiftJis ? Sjis(kPhrases[i]) : std::string(kPhrases[i]);
    }
    // UTF-8 takes three bytes where Shift JIS takes two: its lines are half as long again.
    const std::size_t widthPercent = shiftJis ? 100 : 150;
    std::string text;
    text.reserve(bytes);
    std::uint32_t state = 12345;
    std::string line;
    while (text.size() < bytes) {
        line.clear();
        const std::size_t target = (60 + state % 41) * widthPercent / 100;
        while (line.size() < target) {
            state = state * 1103515245u + 12345u;
            const std::string& phrase = phrases[(state >> 16) % phrases.size()];
            if (line.size() + phrase.size() > 100 * widthPercent / 100) {
                break;
            }
            line += phrase;
        }
        line += lineBreak;
        if (text.size() + line.size() > bytes) {
            break;
        }
        text += line;
    }
    return text;
}

}  // namespace

std::string JapaneseText(std::size_t bytes, std::string_view lineBreak) {
    return Prose(bytes, lineBreak, true);
}

std::string JapaneseUtf8Text(std::size_t bytes, std::string_view lineBreak) {
    return Prose(bytes, lineBreak, false);
}

}  // namespace testing_support
