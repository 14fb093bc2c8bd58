// The UTF-8 passes with 16-byte and 32-byte vectors answer as the portable pass does: on random
// texts of well-formed sequences with faults of every kind put in at every place of a block, at the
// text's end included, and cut at every length.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/cpu_features.h"
#include "platform/utf8_scan.h"

namespace {

using platform::utf8_scan::Scan;

std::string Describe(const Scan& s) {
    return std::string(s.wellFormed ? "well-formed" : "faulty") +
           (s.wellFormed && s.longSequence ? ", long" : "") + (s.nonAscii ? ", non-ASCII" : "");
}

Scan Portable(const std::string& text) {
    return platform::utf8_scan::ScanPortable(reinterpret_cast<const unsigned char*>(text.data()),
                                             text.size());
}

struct VectorPass {
    const char* name;
    Scan (*scan)(const unsigned char*, std::size_t);
};

// The vector passes this build and processor can run.
std::vector<VectorPass> VectorPasses() {
    std::vector<VectorPass> passes;
    if (platform::utf8_scan::CanScanSse2()) {
        passes.push_back({"sse2", platform::utf8_scan::ScanSse2});
    }
    if (platform::utf8_scan::CanScanAvx2() && platform::DetectCpuFeatures().avx2) {
        passes.push_back({"avx2", platform::utf8_scan::ScanAvx2});
    }
    return passes;
}

Scan ScanWith(const VectorPass& pass, const std::string& text) {
    return pass.scan(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

// Well-formed sequences of every length, the edges of their ranges among them, and the
// faults the rule knows: overlong forms, surrogates, values above U+10FFFF, stray and missing
// continuations, bytes that never occur.
const char* const kPieces[] = {
    "a",
    "~",
    "\x7F",
    "\xC2\x80",
    "\xDF\xBF",
    "\xE0\xA0\x80",
    "\xE3\x81\x82",
    "\xEF\xBF\xBF",
    "\xED\x9F\xBF",
    "\xEE\x80\x80",
    "\xF0\x90\x80\x80",
    "\xF4\x8F\xBF\xBF",
    "\xF3\xA0\x80\x80",
    // faults
    "\xC0\xAF",
    "\xC1\xBF",
    "\xE0\x9F\xBF",
    "\xED\xA0\x80",
    "\xF0\x8F\xBF\xBF",
    "\xF4\x90\x80\x80",
    "\xF5\x80\x80\x80",
    "\xFF",
    "\x80",
    "\xBF",
    "\xE3\x81",
    "\xF0\x90\x80",
    "\xC3",
};
constexpr std::size_t kWellFormed = 13;

TEST(Utf8Scan, VectorPassesAgreeWithThePortablePass) {
    const auto passes = VectorPasses();
    if (passes.empty()) {
        GTEST_SKIP() << "no vector pass here";
    }
    std::mt19937 random(2026);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int pieces = std::uniform_int_distribution<int>(0, 60)(random);
        const bool faulty = round % 2 == 1;
        for (int k = 0; k < pieces; ++k) {
            const std::size_t limit = faulty && k == pieces - 1 ? std::size(kPieces) : kWellFormed;
            text += kPieces[std::uniform_int_distribution<std::size_t>(0, limit - 1)(random)];
        }
        if (round % 5 == 0 && !text.empty()) {
            text.resize(std::uniform_int_distribution<std::size_t>(0, text.size())(random));
        }
        const std::string portable = Describe(Portable(text));
        for (const VectorPass& pass : passes) {
            ASSERT_EQ(Describe(ScanWith(pass, text)), portable) << pass.name << " round " << round;
        }
    }
}

TEST(Utf8Scan, FaultsAtEveryPlaceOfLongTexts) {
    const auto passes = VectorPasses();
    if (passes.empty()) {
        GTEST_SKIP() << "no vector pass here";
    }
    const std::string base(200, 'x');
    for (std::size_t fault = kWellFormed; fault < std::size(kPieces); ++fault) {
        for (std::size_t at = 0; at <= base.size(); ++at) {
            const std::string text = base.substr(0, at) + kPieces[fault] + base.substr(at);
            const std::string cut = base.substr(0, at) + kPieces[fault];
            for (const VectorPass& pass : passes) {
                ASSERT_FALSE(ScanWith(pass, text).wellFormed)
                    << pass.name << " " << fault << " at " << at;
                ASSERT_EQ(Describe(ScanWith(pass, cut)), Describe(Portable(cut)))
                    << pass.name << " " << fault << " at " << at;
            }
        }
    }
    for (std::size_t at = 0; at < 100; ++at) {
        const std::string text = std::string(at, 'x') + "\xE6\x97\xA5";
        for (const VectorPass& pass : passes) {
            EXPECT_EQ(Describe(ScanWith(pass, text)), "well-formed, long, non-ASCII")
                << pass.name << at;
        }
    }
}

}  // namespace
