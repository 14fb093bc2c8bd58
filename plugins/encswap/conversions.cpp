// The conversions for every x86-64 processor (and any other).
#include "conversions_impl.h"
