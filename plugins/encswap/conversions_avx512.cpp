// The conversions for processors with 64-byte vectors, byte permutes and byte compression;
// this file is built with -mavx512bw, -mavx512vbmi, -mavx512vbmi2 and the options of the 32-byte
// build.
#define ENCSWAP_ISA avx512
#include "conversions_impl.h"
