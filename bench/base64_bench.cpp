// base64: encoding binary-looking bytes and decoding mail-style text with CR LF every 76
// characters, each next to memcpy of its own input.
#include <cstdint>
#include <string>

#include "plugin_bench.h"

namespace {

constexpr uint32_t kEncode = 0;
constexpr uint32_t kDecode = 1;

const std::string& Bytes() {
    static const std::string bytes = [] {
        std::string data(12 << 20, '\0');
        std::uint32_t state = 2463534242u;
        for (char& c : data) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            c = static_cast<char>(state >> 24);
        }
        return data;
    }();
    return bytes;
}

std::string Encoded(const std::string& bytes) {
    const auto& plugin = bench_support::Plugin("base64");
    ConvertRequest request{};
    request.input = reinterpret_cast<const unsigned char*>(bytes.data());
    request.inputLength = static_cast<uint32_t>(bytes.size());
    request.functionIndex = kEncode;
    request.tablePath = "";
    std::string text(plugin.getBufferSize(&request), '\0');
    request.output = reinterpret_cast<unsigned char*>(text.data());
    request.outputCapacity = static_cast<uint32_t>(text.size());
    plugin.convert(&request);
    return text;
}

const std::string& MailText() {
    static const std::string text = [] {
        const std::string line = Encoded(Bytes());
        std::string broken;
        broken.reserve(line.size() / 76 * 78 + 80);
        for (std::size_t i = 0; i < line.size(); i += 76) {
            broken.append(line, i, 76);
            broken += "\r\n";
        }
        return broken;
    }();
    return text;
}

const std::string& OneLineText() {
    static const std::string text = Encoded(Bytes());
    return text;
}

void BM_MemcpyBytes(benchmark::State& state) {
    bench_support::RunMemcpy(state, Bytes());
}
void BM_MemcpyText(benchmark::State& state) {
    bench_support::RunMemcpy(state, MailText());
}

void BM_Encode(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("base64"), kEncode, Bytes());
}

void BM_DecodeMailText(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("base64"), kDecode, MailText());
}

void BM_DecodeOneLine(benchmark::State& state) {
    bench_support::RunConversion(state, bench_support::Plugin("base64"), kDecode, OneLineText());
}

BENCHMARK(BM_MemcpyBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeMailText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeOneLine)->Unit(benchmark::kMillisecond);

}  // namespace
