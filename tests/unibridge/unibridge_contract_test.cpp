// unibridge on the plug-in contract: what it tells the host, what it refuses, and that its
// size pass bounds every output without writing past the buffer it was given.
#include <cstring>
#include <string>
#include <vector>

#include "support/sample_text.h"
#include "unibridge_fixture.h"

namespace unibridge_test {
namespace {

TEST_F(UnibridgeTest, EmptyInputHasNothingToDoAndSaysNothing) {
    for (uint32_t index = 0; index < kFunctionCount; ++index) {
        EXPECT_EQ(SizeFor(index, ""), 0u) << index;
    }
    EXPECT_TRUE(messages.empty());
}

// Every function over texts in every form, into buffers of each size up to the one the size
// pass asked for: a smaller buffer fails without a message and without a byte written past
// it; the size asked for always suffices.
TEST_F(UnibridgeTest, NeverWritesPastTheBufferAndTheSizePassSuffices) {
    const std::string utf8 = "ｱｲｳ漢字\r\nabc\u2460";
    const std::vector<std::string> texts = {Sjis(utf8),
                                            Euc(utf8),
                                            Jis(utf8),
                                            utf8,
                                            std::string(kUtf8Mark) + utf8,
                                            std::string(kUtf16LeMark) + Utf16Le(utf8),
                                            std::string(kUtf16BeMark) + Utf16Be(utf8),
                                            std::string(kUtf8Mark),
                                            Sjis("漢字&#x1F600;&#65;"),
                                            // what the fallbacks replace (and the refusal
                                            // refuses), and what grows most
                                            "&#x41;\u00E9😀葛\U000E0100\u301C&#65;",
                                            std::string(kUtf16LeMark) + Utf16Le("&😀\u00E9&#1;")};
    const std::size_t refused = texts.size() - 2;
    for (uint32_t index = 0; index < kFunctionCount; ++index) {
        for (std::size_t t = 0; t < (index == kToSjis ? refused : texts.size()); ++t) {
            const std::string& text = texts[t];
            const uint32_t size = SizeFor(index, text);
            if (size == 0) {
                continue;
            }
            for (uint32_t capacity = 0; capacity <= size; ++capacity) {
                std::vector<unsigned char> buffer(capacity + 16, 0xAA);
                ConvertRequest request{};
                request.input = reinterpret_cast<const unsigned char*>(text.data());
                request.inputLength = static_cast<uint32_t>(text.size());
                request.functionIndex = index;
                request.tablePath = "";
                request.output = buffer.data();
                request.outputCapacity = capacity;
                const uint32_t result = Plugin().convert(&request);
                for (std::size_t i = capacity; i < buffer.size(); ++i) {
                    ASSERT_EQ(buffer[i], 0xAA) << "function " << index << " capacity " << capacity;
                }
                if (capacity == size) {
                    EXPECT_EQ(result, 1u) << "function " << index << " size " << size << " text "
                                          << ::testing::PrintToString(text);
                }
                if (result != 0) {
                    EXPECT_LE(request.outputLength, capacity);
                }
            }
        }
    }
    // Only the fallbacks' notes: a buffer too small fails without a word.
    for (const Message& message : messages) {
        EXPECT_EQ(message.title, "情報") << message.text;
    }
}

TEST_F(UnibridgeTest, ZeroBytesAreCharactersLikeAnyOther) {
    const std::string utf8("あ\0い\0", 8);
    EXPECT_EQ(Convert(kToUtf8, Sjis("あ") + std::string("\0", 1) + Sjis("い") + '\0'), utf8);
    EXPECT_EQ(Convert(kToSjis, utf8), Sjis("あ") + std::string("\0", 1) + Sjis("い") + '\0');
    EXPECT_EQ(Convert(kToUtf16, utf8), std::string(kUtf16LeMark) + Utf16Le(utf8));
}

}  // namespace
}  // namespace unibridge_test
