// The settings-list reader over arbitrary file bytes, with a function list of three titles
// (two Shift JIS, one the beginning of another's); whatever it takes in must write back and
// read again to the same options, files and chain.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "host/core/settings/settings.h"

namespace {

host::FunctionList Functions() {
    host::FunctionList list;
    for (const char* title : {"\x89\xfc\x8d\x73\x82\xf0LF(UNIX)\x82\xc9\x95\xcf\x8a\xb7",
                              "\x83\x56\x83\x74\x83\x67JIS\x82\xc9\x95\xcf\x8a\xb7", "Base"}) {
        list.push_back({title, std::make_unique<host::FunctionEntry>(), "x.so"});
    }
    return list;
}

struct Loaded {
    host::RunOptions options;
    host::FileList files;
    host::FunctionList functions = Functions();
    host::Chain chain;

    void From(const host::ProfileFile& profile) {
        host::LoadSettingsList(profile, options, files, functions, chain, "/desktop");
    }
};

bool SameChain(const Loaded& a, const Loaded& b) {
    if (a.chain.size() != b.chain.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.chain.size(); ++i) {
        if (a.chain[i].title != b.chain[i].title) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Loaded first;
    first.From(host::ProfileFile::FromBytes(bytes));

    host::ProfileFile written;
    if (!host::WriteSettingsList(written, first.options, first.files, first.chain).ok) {
        return 0;  // a path a profile cannot keep: refused, nothing written
    }
    Loaded second;
    second.From(host::ProfileFile::FromBytes(written.Bytes()));
    if (second.files.paths() != first.files.paths() || !SameChain(first, second) ||
        second.options.outputFolder != first.options.outputFolder ||
        second.options.tablePath != first.options.tablePath ||
        second.options.overWrite != first.options.overWrite ||
        second.options.noOutput != first.options.noOutput) {
        __builtin_trap();
    }
    return 0;
}
