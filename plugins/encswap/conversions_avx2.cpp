// The conversions for processors with 32-byte vectors and the bit instructions of their
// generation; this file is built with -mavx2 and those.
#define ENCSWAP_ISA avx2
#include "conversions_impl.h"
