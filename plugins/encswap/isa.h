// The conversion code is built up to three times: for every x86 processor (SSE2, which every
// x86-64 processor has and the 32-bit build asks for), for processors with 32-byte vectors
// (AVX2) and for those with 64-byte vectors and byte expansion (AVX-512 VBMI2), the last two
// chosen at run time. Each build lives in its own namespace, encswap::baseline, encswap::avx2
// or encswap::avx512, so that they never mix.
#pragma once

#if !defined(ENCSWAP_ISA)
#define ENCSWAP_ISA baseline
#endif
