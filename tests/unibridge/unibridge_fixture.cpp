#include "unibridge_fixture.h"

#include <map>
#include <memory>

#include "platform/message_box.h"
#include "platform/utf16.h"
#include "support/host_step.h"
#include "support/sample_text.h"

namespace unibridge_test {
namespace {

std::string Utf16(std::string_view utf8, bool bigEndian) {
    std::string bytes;
    for (const char16_t unit : platform::Utf8ToUtf16(utf8)) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

}  // namespace

Message Fault(std::string_view text) {
    return {std::string(text), "エラー", platform::kButtonsOk | platform::kIconStop};
}

std::string Sjis(std::string_view utf8) {
    return testing_support::Sjis(utf8);
}

std::string Euc(std::string_view utf8) {
    return testing_support::SharedPlugin("encswap").Run(4, Sjis(utf8)).value_or("");
}

std::string Jis(std::string_view utf8) {
    return testing_support::SharedPlugin("encswap").Run(3, Sjis(utf8)).value_or("");
}

std::string Utf16Le(std::string_view utf8) {
    return Utf16(utf8, false);
}

std::string Utf16Be(std::string_view utf8) {
    return Utf16(utf8, true);
}

void UnibridgeTest::SetUp() {
    testing_support::RecordMessages(&messages);
    plugin_ = &testing_support::SharedPlugin("unibridge");
}

void UnibridgeTest::TearDown() {
    testing_support::StopRecordingMessages();
}

const testing_support::PluginUnderTest& Build(const std::string& name) {
    if (name == "unibridge") {
        return testing_support::SharedPlugin(name);
    }
    static std::map<std::string, std::unique_ptr<testing_support::PluginUnderTest>> builds;
    auto& build = builds[name];
    if (!build) {
        build = std::make_unique<testing_support::PluginUnderTest>(UNIBRIDGE_TEST_BUILDS, name);
    }
    return *build;
}

std::optional<std::string> UnibridgeTest::Convert(uint32_t index, std::string_view input,
                                                  uint32_t* size) const {
    return Plugin().Run(index, input, "", size);
}

uint32_t UnibridgeTest::SizeFor(uint32_t index, std::string_view input) const {
    ConvertRequest request = testing_support::RequestFor(index, input);
    return Plugin().getBufferSize(&request);
}

}  // namespace unibridge_test
