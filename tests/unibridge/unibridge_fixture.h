// The unibridge plug-in as the host drives it, with every message box it shows recorded, and
// the forms of a text the tests feed it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/plugin_under_test.h"
#include "support/recorded_messages.h"

namespace unibridge_test {

inline constexpr uint32_t kToUtf8 = 0;
inline constexpr uint32_t kToUtf8Bom = 1;
inline constexpr uint32_t kToUtf16 = 2;
inline constexpr uint32_t kToSjis = 3;
inline constexpr uint32_t kReadable = 4;
inline constexpr uint32_t kLossless = 5;
inline constexpr uint32_t kFunctionCount = 7;

inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// A message box as the plug-in showed it, its texts in UTF-8.
using Message = testing_support::RecordedMessage;

// The box that reports a fault.
Message Fault(std::string_view text);

// The forms of a text given in UTF-8 (each without a mark).
std::string Sjis(std::string_view utf8);
std::string Euc(std::string_view utf8);  // through encswap, as a file converted there
std::string Jis(std::string_view utf8);  // through encswap
std::string Utf16Le(std::string_view utf8);
std::string Utf16Be(std::string_view utf8);

class UnibridgeTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The plug-in the test runs: the shipped one unless a test chooses a build of its own.
    const testing_support::PluginUnderTest& Plugin() const { return *plugin_; }
    void Use(const testing_support::PluginUnderTest& plugin) { plugin_ = &plugin; }

    // Size pass then conversion; nothing when the size is 0 or the conversion fails.
    std::optional<std::string> Convert(uint32_t index, std::string_view input,
                                       uint32_t* size = nullptr) const;
    // What XfmGetBufferSize answers.
    uint32_t SizeFor(uint32_t index, std::string_view input) const;

    std::vector<Message> messages;

  private:
    const testing_support::PluginUnderTest* plugin_ = nullptr;
};

// The builds of the plug-in made for the tests: "unibridge" as shipped (held to a vector level
// by POLYSHIFT_ISA), "unibridge_plain" without any vector code.
const testing_support::PluginUnderTest& Build(const std::string& name);

}  // namespace unibridge_test
