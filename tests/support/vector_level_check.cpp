// Linked into every test program that runs once per vector level (POLYSHIFT_ISA). Before any
// test: a level the processor lacks ends the program with the skip status 77; a level that the
// plug-ins would not take fails it, so that a variant never passes by testing another level.
#include <cstdio>
#include <cstdlib>

#include "platform/cpu_features.h"

namespace {

const bool kLevelChecked = [] {
    const char* requested = std::getenv("POLYSHIFT_ISA");
    if (requested == nullptr) {
        return true;
    }
    const auto level = platform::ParseVectorLevel(requested);
    if (!level) {
        std::fprintf(stderr, "POLYSHIFT_ISA=%s names no vector level\n", requested);
        std::_Exit(1);
    }
    if (*level > platform::DetectCpuFeatures().level()) {
        std::printf("Skipped: this processor has no %s\n", requested);
        std::_Exit(77);
    }
    if (platform::Cpu().level() != *level) {
        std::fprintf(stderr, "POLYSHIFT_ISA=%s was not taken\n", requested);
        std::_Exit(1);
    }
    return true;
}();

}  // namespace
