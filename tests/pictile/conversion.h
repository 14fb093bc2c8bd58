// The pictile plug-in as the host loads it; pictile run on bitmaps the way the host runs a
// step, with the input in a heap block of exactly its size so that the sanitizers see any read
// past its end; and the check that an icon shows the bitmap's pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "support/plugin_under_test.h"

namespace pictile_test {

inline constexpr testing_support::NamedPlugin Pictile{"pictile"};

// Size pass and conversion; nothing when either refuses. `size` receives the size pass's
// answer.
std::optional<std::string> ConvertBitmap(const std::string& bitmap, std::uint32_t* size = nullptr);

// Whether the size pass answers 0, so that the file passes on unchanged.
bool Refused(const std::string& bitmap);

// Converts `bitmap` and expects an icon that shows, decoded by the tests' own reader, the
// pixels the same reader finds in the bitmap. Returns the icon, or nothing after a failure.
std::optional<std::string> ExpectIconShowsBitmap(const std::string& bitmap);

}  // namespace pictile_test
