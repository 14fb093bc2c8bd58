// The conversion code is built twice: for every x86-64 processor (SSE2) and for processors
// with 32-byte vectors (AVX2, chosen at run time). Each build lives in its own namespace,
// encswap::baseline or encswap::avx2, so that the two never mix.
#pragma once

#if !defined(ENCSWAP_ISA)
#define ENCSWAP_ISA baseline
#endif
