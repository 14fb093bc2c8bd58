// The pieces of the Windows resource writer that run on the build machine: texts written into
// the resource script come back as they were (quotes, backslashes, tabs and line feeds escaped,
// Japanese kept), texts a script cannot carry are refused, and the icon file points at each
// image where it lies.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "host/layout/all_dialogs.h"
#include "host/layout/main_menu.h"
#include "host/win32/resources/icon_file.h"
#include "host/win32/resources/rc_text.h"

namespace {

TEST(ResourceText, EscapesWhatTheScriptWouldReadOtherwise) {
    EXPECT_EQ(rc::Quoted(""), "\"\"");
    EXPECT_EQ(rc::Quoted("OK"), "\"OK\"");
    EXPECT_EQ(rc::Quoted("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(rc::Quoted("s/(\\d+)/x/"), "\"s/(\\\\d+)/x/\"");
    EXPECT_EQ(rc::Quoted("a\tb\nc\r\n"), "\"a\\tb\\nc\\r\\n\"");
    // Japanese and the rest of UTF-8 stand as they are, four-byte sequences too.
    EXPECT_EQ(rc::Quoted("変換実行 → 【$1】"), "\"変換実行 → 【$1】\"");
    EXPECT_EQ(rc::Quoted("\xF0\x9F\x98\x80"), "\"\xF0\x9F\x98\x80\"");
}

TEST(ResourceText, RefusesControlBytesAndBrokenUtf8) {
    for (const std::string& text : {
             std::string{"a\x01"}, std::string{"\x7F"}, std::string{"a\0b", 3},
             std::string{"\x80"},              // a continuation byte alone
             std::string{"\xE3\x81"},          // cut short
             std::string{"\xC0\xAF"},          // overlong
             std::string{"\xED\xA0\x80"},      // a surrogate
             std::string{"\xF4\x90\x80\x80"},  // past U+10FFFF
         }) {
        EXPECT_THROW(rc::Quoted(text), std::invalid_argument) << testing::PrintToString(text);
    }
}

TEST(ResourceText, EveryLayoutTextFitsAScript) {
    for (const layout::Dialog* dialog : layout::kAllDialogs) {
        EXPECT_NO_THROW(rc::Quoted(dialog->title));
        EXPECT_NO_THROW(rc::Quoted(dialog->font.face));
        for (const layout::Control& control : dialog->controls) {
            EXPECT_NO_THROW(rc::Quoted(control.text)) << dialog->resourceId << " " << control.id;
        }
    }
    for (const layout::Menu& menu : layout::kMainMenu.menus) {
        EXPECT_NO_THROW(rc::Quoted(menu.title));
        for (const layout::MenuItem& item : menu.items) {
            if (!item.separator()) {
                EXPECT_NO_THROW(rc::Quoted(item.text)) << item.text;
            }
        }
    }
    EXPECT_NO_THROW(rc::Quoted(layout::kSystemMenuAbout.text));
}

// The start of a PNG file: its signature and header chunk (with a dummy checksum), then
// `extra` bytes standing for the image data.
std::string PngStart(unsigned width, unsigned height, int bitDepth, int colourType,
                     std::size_t extra = 0) {
    std::string png{"\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16};
    for (unsigned side : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8)
            png += static_cast<char>(side >> shift & 0xFF);
    }
    png += static_cast<char>(bitDepth);
    png += static_cast<char>(colourType);
    png += std::string(3 + 4, '\0');  // compression, filter, interlace; checksum
    return png + std::string(extra, 'x');
}

TEST(IconFile, ReadsOnlyPngImagesAnIconCanHold) {
    const rc::PngImage image = rc::ReadPng(PngStart(48, 32, 8, 6), "a.png");
    EXPECT_EQ(image.width, 48u);
    EXPECT_EQ(image.height, 32u);
    EXPECT_THROW(rc::ReadPng("GIF89a and more bytes than a PNG header has", "b"),
                 std::invalid_argument);
    EXPECT_THROW(rc::ReadPng(PngStart(16, 16, 8, 6).substr(0, 30), "cut"), std::invalid_argument);
    EXPECT_THROW(rc::ReadPng(PngStart(257, 16, 8, 6), "wide"), std::invalid_argument);
    EXPECT_THROW(rc::ReadPng(PngStart(16, 0, 8, 6), "empty"), std::invalid_argument);
    // 16 bits per channel and RGB without alpha are PNGs, but not every icon reader takes them.
    EXPECT_THROW(rc::ReadPng(PngStart(16, 16, 16, 6), "deep"), std::invalid_argument);
    EXPECT_THROW(rc::ReadPng(PngStart(16, 16, 8, 2), "rgb"), std::invalid_argument);
}

TEST(IconFile, DirectoryPointsAtEachImage) {
    const std::vector<rc::PngImage> images{rc::ReadPng(PngStart(16, 16, 8, 6, 5), "small"),
                                           rc::ReadPng(PngStart(256, 256, 8, 6, 100), "large")};
    const std::string icon = rc::IconFile(images);
    const auto u8 = [&](std::size_t at) { return static_cast<unsigned char>(icon[at]); };
    const auto u16 = [&](std::size_t at) { return u8(at) | u8(at + 1) << 8; };
    const auto u32 = [&](std::size_t at) {
        return static_cast<std::size_t>(u16(at)) | static_cast<std::size_t>(u16(at + 2)) << 16;
    };
    ASSERT_EQ(icon.size(), 6 + 2 * 16 + images[0].bytes.size() + images[1].bytes.size());
    EXPECT_EQ(u16(0), 0);  // reserved
    EXPECT_EQ(u16(2), 1);  // an icon
    EXPECT_EQ(u16(4), 2);  // two images
    std::size_t offset = 6 + 2 * 16;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::size_t entry = 6 + 16 * i;
        SCOPED_TRACE(i);
        EXPECT_EQ(u8(entry), images[i].width == 256 ? 0 : images[i].width);  // 256 is written 0
        EXPECT_EQ(u8(entry + 1), images[i].height == 256 ? 0 : images[i].height);
        EXPECT_EQ(u16(entry + 4), 1);   // planes
        EXPECT_EQ(u16(entry + 6), 32);  // bits per pixel
        EXPECT_EQ(u32(entry + 8), images[i].bytes.size());
        EXPECT_EQ(u32(entry + 12), offset);
        EXPECT_EQ(icon.substr(offset, images[i].bytes.size()), images[i].bytes);
        offset += images[i].bytes.size();
    }
    EXPECT_THROW(rc::IconFile({}), std::invalid_argument);
}

}  // namespace
