// The shared row/cell arithmetic (jis_row_cell.h), named in each build's namespace.
#pragma once

#include "isa.h"

#include "jis_row_cell.h"

namespace encswap::ENCSWAP_ISA {

using jis::BytePair;
using jis::EucByte;
using jis::RowCellFromSjis;
using jis::SevenBit;
using jis::SjisFromRowCell;

}  // namespace encswap::ENCSWAP_ISA
