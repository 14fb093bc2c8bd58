// The pass behind utf8_text.h: one walk over a text that tells whether it is well-formed UTF-8,
// whether it holds any byte above 0x7F and any sequence of three or four bytes. A portable form
// that checks sequence by sequence, one with 16-byte vectors that checks 64 bytes at a time by
// bit masks, and one for processors with AVX2 that checks 32 bytes at a time by table lookups;
// all give the same answers.
#pragma once

#include <cstddef>

namespace platform::utf8_scan {

struct Scan {
    bool wellFormed = true;
    bool longSequence = false;  // a sequence of three or four bytes (meaningful when well-formed)
    bool nonAscii = false;      // a byte above 0x7F
};

Scan ScanPortable(const unsigned char* text, std::size_t length);

// Whether this build has ScanSse2 (every x86-64 build, and the 32-bit x86 one).
bool CanScanSse2();
Scan ScanSse2(const unsigned char* text, std::size_t length);

// Whether this build has ScanAvx2; only a processor with AVX2 may run it.
bool CanScanAvx2();
Scan ScanAvx2(const unsigned char* text, std::size_t length);

// ScanAvx2 where the processor (as limited by POLYSHIFT_ISA) has AVX2, else ScanSse2 where the
// build has it, else ScanPortable.
Scan ScanBest(const unsigned char* text, std::size_t length);

}  // namespace platform::utf8_scan
