// The shipped sample bitmaps, as painting programs and converters write them (classic
// headers and large ones, colour tables, run-length data, bit-field pixels with and without
// alpha), become icons that show the bitmap's pixels.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bitmap_file.h"
#include "conversion.h"
#include "support/temp_folder.h"

namespace {

using pictile_test::U16At;

TEST(PictileSample, EverySampleBitmapKeepsItsPixelsInTheIcon) {
    const std::filesystem::path folder =
        std::filesystem::path(POLYSHIFT_SOURCE_DIR) / "examples" / "pictile";
    int samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".bmp") {
            continue;
        }
        ++samples;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bitmap = testing_support::ReadFile(entry.path());
        const auto icon = pictile_test::ExpectIconShowsBitmap(bitmap);
        ASSERT_TRUE(icon.has_value());
        EXPECT_EQ(U16At(*icon, 2), 1);  // an icon
    }
    EXPECT_GE(samples, 7);
}

}  // namespace
