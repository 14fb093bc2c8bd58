// Icons read back by an image reader of another make (ImageMagick's convert, where it is
// installed) show the pixels that reader finds in the bitmaps: the sample bitmaps and every
// form the reader takes as the format has it. Skipped on machines without the reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "bitmap_file.h"
#include "bitmap_forms.h"
#include "conversion.h"
#include "form_cases.h"
#include "support/temp_folder.h"

namespace {

using pictile_test::ConvertBitmap;

bool ReaderInstalled() {
    return std::system("convert -version >/dev/null 2>&1") == 0;
}

// The picture in `path` as 8-bit red, green and blue bytes, and alpha bytes with `alpha`, top
// row first.
std::optional<std::string> ReadPixels(const std::string& path, bool alpha) {
    const std::string command = "convert '" + path + "' -depth 8 " +
                                (alpha ? "-alpha on rgba:-" : "-alpha off rgb:-") + " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    if (!pipe) {
        return std::nullopt;
    }
    std::string pixels;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) {
        pixels.append(buffer, n);
    }
    if (::pclose(pipe.release()) != 0 || pixels.empty()) {
        return std::nullopt;
    }
    return pixels;
}

void ExpectReaderSeesTheSamePixels(const testing_support::TempFolder& folder,
                                   const std::string& name, const std::string& bitmap) {
    SCOPED_TRACE(name);
    const auto icon = ConvertBitmap(bitmap);
    ASSERT_TRUE(icon.has_value());
    // Alpha is compared for bitmaps that have it, those whose icons have 32-bit pixels.
    const bool alpha = pictile_test::U16At(*icon, 12) == 32;
    const auto inBitmap = ReadPixels(folder.Write(name + ".bmp", bitmap), alpha);
    const auto inIcon = ReadPixels("ico:" + folder.Write(name + ".ico", *icon), alpha);
    ASSERT_TRUE(inBitmap.has_value());
    ASSERT_TRUE(inIcon.has_value());
    EXPECT_TRUE(*inIcon == *inBitmap);
}

TEST(PictileImageReader, IconsOfTheSampleBitmapsShowTheirPixels) {
    if (!ReaderInstalled()) {
        GTEST_SKIP() << "no ImageMagick convert on this machine";
    }
    const testing_support::TempFolder folder;
    const std::filesystem::path samples =
        std::filesystem::path(POLYSHIFT_SOURCE_DIR) / "examples" / "pictile";
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
        if (entry.path().extension() == ".bmp") {
            ExpectReaderSeesTheSamePixels(folder, entry.path().stem().string(),
                                          testing_support::ReadFile(entry.path()));
        }
    }
}

TEST(PictileImageReader, IconsOfEveryFormShowTheirPixels) {
    if (!ReaderInstalled()) {
        GTEST_SKIP() << "no ImageMagick convert on this machine";
    }
    const testing_support::TempFolder folder;
    int form = 0;
    for (const auto& c : pictile_test::FormCases()) {
        ++form;
        if (c.readersAgree) {
            ExpectReaderSeesTheSamePixels(folder, "form" + std::to_string(form) + " " + c.name,
                                          pictile_test::MakeBitmapOfForm(c.form));
        }
    }
}

}  // namespace
