// The conversions for processors with 32-byte vectors; this file is built with -mavx2.
#define ENCSWAP_ISA avx2
#include "conversions_impl.h"
