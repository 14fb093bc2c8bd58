// The IBM extension characters exist twice in Shift JIS: at their IBM codes (0xFA40 to
// 0xFC4B) and, as the NEC-selected copies, at 0xED40 to 0xEEFC, which are the ones EUC can
// carry (rows 0x79 to 0x7C). The two are related by ranges, each shifted by a constant;
// codes outside every range map to themselves.
#pragma once

#include "isa.h"

#include <array>
#include <cstdint>

namespace encswap::ENCSWAP_ISA {

struct ExtensionRange {
    std::uint16_t necFirst;
    std::uint16_t necLast;
    std::uint16_t ibmFirst;
    std::uint16_t ibmLast;
};

inline constexpr std::array<ExtensionRange, 10> kExtensionRanges = {{
    {0xED40, 0xED62, 0xFA5C, 0xFA7E},
    {0xED63, 0xED7E, 0xFA80, 0xFA9B},
    {0xED80, 0xEDE0, 0xFA9C, 0xFAFC},
    {0xEDE1, 0xEDFC, 0xFB40, 0xFB5B},
    {0xEE40, 0xEE62, 0xFB5C, 0xFB7E},
    {0xEE63, 0xEE7E, 0xFB80, 0xFB9B},
    {0xEE80, 0xEEE0, 0xFB9C, 0xFBFC},
    {0xEEE1, 0xEEEC, 0xFC40, 0xFC4B},
    {0xEEEF, 0xEEF8, 0xFA40, 0xFA49},
    {0xEEF9, 0xEEFC, 0xFA54, 0xFA57},
}};

constexpr bool RangesHaveEqualLengths() {
    for (const auto& r : kExtensionRanges) {
        if (r.necLast - r.necFirst != r.ibmLast - r.ibmFirst) {
            return false;
        }
    }
    return true;
}
static_assert(RangesHaveEqualLengths());

// IBM extension code to its NEC-selected copy (Shift JIS to EUC direction).
constexpr std::uint16_t NecFromIbm(std::uint16_t code) {
    for (const auto& r : kExtensionRanges) {
        if (code >= r.ibmFirst && code <= r.ibmLast) {
            return static_cast<std::uint16_t>(code - (r.ibmFirst - r.necFirst));
        }
    }
    return code;
}

// NEC-selected copy to its IBM extension code (EUC to Shift JIS direction).
constexpr std::uint16_t IbmFromNec(std::uint16_t code) {
    for (const auto& r : kExtensionRanges) {
        if (code >= r.necFirst && code <= r.necLast) {
            return static_cast<std::uint16_t>(code + (r.ibmFirst - r.necFirst));
        }
    }
    return code;
}

static_assert(NecFromIbm(0xFA5C) == 0xED40 && IbmFromNec(0xED40) == 0xFA5C);
static_assert(NecFromIbm(0xFA4A) == 0xFA4A && IbmFromNec(0xEEED) == 0xEEED);

}  // namespace encswap::ENCSWAP_ISA
