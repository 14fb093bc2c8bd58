// Paths carried to plug-ins in code page 932 and renames carried back to the real path.
#include "host/core/plugins/contract_path.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/text_encoding.h"

namespace {

std::optional<std::string> Carried(const std::string& real, const std::string& answerUtf8) {
    return host::CarryBack(host::MakeStandIn(real), real, platform::Utf8ToCp932(answerUtf8));
}

TEST(ContractPath, TheStandInIsCodePage932WithAQuestionMarkForEachCharacterItLacks) {
    const host::StandIn plain = host::MakeStandIn("C:\\表\\ソ.txt");
    EXPECT_TRUE(plain.exact());
    EXPECT_EQ(plain.bytes, platform::Utf8ToCp932("C:\\表\\ソ.txt"));

    const host::StandIn emoji = host::MakeStandIn("d\\a\xF0\x9F\x98\x80\xC3\xA9.bmp");
    EXPECT_FALSE(emoji.exact());
    EXPECT_EQ(emoji.bytes, "d\\a??.bmp");
    EXPECT_EQ(emoji.replaced, (std::vector<bool>{0, 0, 0, 1, 1, 0, 0, 0, 0}));
    // A byte that starts no character is one replaced character of its own.
    EXPECT_EQ(host::MakeStandIn("a\xFF\x80z").bytes, "a??z");
}

// The answer's edit moves to the real path when it leaves the replaced characters alone.
TEST(ContractPath, ARenameIsCarriedBackAsTheSameEditOfTheRealPath) {
    EXPECT_EQ(Carried("o/a.txt", "o/a.txt.b64"), "o/a.txt.b64");
    EXPECT_EQ(Carried("o/日本.bmp", "o/日本.ico"), "o/日本.ico");
    EXPECT_EQ(Carried("o/日本.txt", "o/英語.txt"), "o/英語.txt");
    EXPECT_EQ(Carried("\xF0\x9F\x98\x80/a.bmp", "?/a.ico"), "\xF0\x9F\x98\x80/a.ico");
    EXPECT_EQ(Carried("o/a\xF0\x9F\x98\x80.bmp", "o/a?.表"), "o/a\xF0\x9F\x98\x80.表");
    EXPECT_EQ(Carried("o/é.txt", "o/?.txt"), "o/é.txt");  // the same name
    EXPECT_EQ(Carried("o/é.txt", "x/?.txt"), "x/é.txt");
}

TEST(ContractPath, AnEditOfAReplacedCharacterOrOfHalfACharacterIsNotCarried) {
    EXPECT_EQ(Carried("o/x.\xF0\x9F\x98\x80", "o/x.ico"), std::nullopt);
    EXPECT_EQ(Carried("o/a\xF0\x9F\x98\x80.bmp", "O/A?.BMP"), std::nullopt);
    EXPECT_EQ(Carried("o/é", "o/"), std::nullopt);
    // ソ is 0x83 0x5C: an answer that keeps its lead byte alone is no name.
    const std::string real = "o/ソ";
    EXPECT_EQ(host::CarryBack(host::MakeStandIn(real), real, "o/\x83"), std::nullopt);
    EXPECT_EQ(host::CarryBack(host::MakeStandIn(real), real, "o/\x83\x5C\x83"), std::nullopt);
}

// Against a simple reference: replacing the extension of random paths made of ASCII,
// Japanese and characters code page 932 lacks gives the real path with that extension,
// unless the old extension holds a replaced character.
TEST(ContractPath, GeneratedExtensionChangesAgreeWithTheReference) {
    const std::vector<std::string> pieces = {
        "a", "Z", "\\", "_", "表", "ソ", "ｱ", "\xF0\x9F\x98\x80", "é", "ü"};
    std::mt19937 random(12);
    for (int round = 0; round < 2000; ++round) {
        std::string stem, extension;
        for (int n = static_cast<int>(random() % 8); n > 0; --n) {
            stem += pieces[random() % pieces.size()];
        }
        for (int n = static_cast<int>(random() % 3) + 1; n > 0; --n) {
            extension += pieces[random() % pieces.size()];
        }
        const std::string real = stem + "." + extension;
        const host::StandIn standIn = host::MakeStandIn(real);
        const std::string askedStem = standIn.bytes.substr(0, standIn.bytes.rfind('.'));
        const auto carried = host::CarryBack(standIn, real, askedStem + ".new");
        const bool extensionExact = host::MakeStandIn(extension).exact();
        if (extensionExact) {
            EXPECT_EQ(carried, stem + ".new") << real;
        } else {
            EXPECT_EQ(carried, std::nullopt) << real;
        }
    }
}

}  // namespace
