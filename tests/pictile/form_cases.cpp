#include "form_cases.h"

namespace pictile_test {
namespace {

BitmapForm Form(std::uint16_t bitCount, std::uint32_t headerBytes = 40) {
    BitmapForm form;
    form.bitCount = bitCount;
    form.headerBytes = headerBytes;
    return form;
}

BitmapForm With(BitmapForm form, void (*change)(BitmapForm&)) {
    change(form);
    return form;
}

BitmapForm BitFields(std::uint16_t bitCount, std::uint32_t headerBytes, std::uint32_t red,
                     std::uint32_t green, std::uint32_t blue, std::uint32_t alpha = 0) {
    BitmapForm form = Form(bitCount, headerBytes);
    form.compression = 3;
    form.masks[0] = red;
    form.masks[1] = green;
    form.masks[2] = blue;
    form.masks[3] = alpha;
    return form;
}

BitmapForm AlphaBitFields(std::uint16_t bitCount, std::uint32_t headerBytes, std::uint32_t red,
                          std::uint32_t green, std::uint32_t blue, std::uint32_t alpha = 0) {
    BitmapForm form = BitFields(bitCount, headerBytes, red, green, blue, alpha);
    form.compression = 6;
    return form;
}

}  // namespace

std::vector<FormCase> FormCases() {
    return {
        // Larger information headers.
        {"24 bits, 124-byte header", Form(24, 124), 24},
        {"24 bits, 108-byte header", Form(24, 108), 24},
        {"8 bits, 124-byte header", Form(8, 124), 8},
        {"4 bits, 108-byte header", Form(4, 108), 4},
        {"1 bit, 124-byte header", Form(1, 124), 1},
        {"32 bits uncompressed, 124-byte header", Form(32, 124), 32, false},
        // Pixels after a gap.
        {"24 bits, gap", With(Form(24), [](BitmapForm& f) { f.gapBytes = 10; }), 24},
        {"8 bits, gap", With(Form(8), [](BitmapForm& f) { f.gapBytes = 3; }), 8},
        {"24 bits with a colour table", With(Form(24), [](BitmapForm& f) { f.coloursUsed = 5; }),
         24},
        // Top-down rows.
        {"24 bits, top-down", With(Form(24), [](BitmapForm& f) { f.topDown = true; }), 24},
        {"4 bits, top-down", With(Form(4), [](BitmapForm& f) { f.topDown = true; }), 4},
        {"32 bits, top-down, 124-byte header",
         With(Form(32, 124), [](BitmapForm& f) { f.topDown = true; }), 32, false},
        // Image size 0.
        {"24 bits, image size 0", With(Form(24), [](BitmapForm& f) { f.imageSizeZero = true; }),
         24},
        {"1 bit, image size 0", With(Form(1), [](BitmapForm& f) { f.imageSizeZero = true; }), 1},
        // Short colour tables.
        {"8 bits, 20 colours", With(Form(8), [](BitmapForm& f) { f.coloursUsed = 20; }), 8},
        {"4 bits, 3 colours, 124-byte header",
         With(Form(4, 124), [](BitmapForm& f) { f.coloursUsed = 3; }), 4},
        // Run-length data.
        {"8-bit runs", With(Form(8), [](BitmapForm& f) { f.compression = 1; }), 8},
        {"8-bit runs, 124-byte header, 16 colours",
         With(Form(8, 124),
              [](BitmapForm& f) {
                  f.compression = 1;
                  f.coloursUsed = 16;
              }),
         8},
        {"8-bit runs into the row padding",
         With(Form(8),
              [](BitmapForm& f) {
                  f.compression = 1;
                  f.runsIntoPadding = true;
              }),
         8},
        {"8-bit runs, image size 0",
         With(Form(8),
              [](BitmapForm& f) {
                  f.compression = 1;
                  f.imageSizeZero = true;
              }),
         8},
        {"4-bit runs", With(Form(4), [](BitmapForm& f) { f.compression = 2; }), 4},
        {"4-bit runs into the row padding",
         With(Form(4),
              [](BitmapForm& f) {
                  f.compression = 2;
                  f.runsIntoPadding = true;
              }),
         4},
        // 16-bit pixels: five bits per colour when uncompressed.
        {"16 bits uncompressed, 124-byte header", Form(16, 124), 24},
        {"16 bits uncompressed, top-down",
         With(Form(16, 108), [](BitmapForm& f) { f.topDown = true; }), 24},
        // Bit fields.
        {"16 bits 5-6-5, 40-byte header", BitFields(16, 40, 0xF800, 0x07E0, 0x001F), 24},
        {"16 bits 5-5-5, 124-byte header", BitFields(16, 124, 0x7C00, 0x03E0, 0x001F), 24},
        {"16 bits 1-5-5-5 with alpha", BitFields(16, 124, 0x7C00, 0x03E0, 0x001F, 0x8000), 32,
         false},
        {"16 bits 4-4-4-4 with alpha", BitFields(16, 56, 0x0F00, 0x00F0, 0x000F, 0xF000), 32,
         false},
        {"32 bits with alpha, 124-byte header",
         BitFields(32, 124, 0xFF0000, 0xFF00, 0xFF, 0xFF000000), 32},
        {"32 bits without alpha, 40-byte header", BitFields(32, 40, 0xFF0000, 0xFF00, 0xFF), 24},
        {"32 bits, red and blue swapped, 52-byte header", BitFields(32, 52, 0xFF, 0xFF00, 0xFF0000),
         24},
        {"32 bits, 10 bits per colour", BitFields(32, 108, 0x3FF00000, 0xFFC00, 0x3FF), 24, false},
        {"32 bits, green only", BitFields(32, 40, 0, 0xFF00, 0), 24},
        {"32 bits with alpha, top-down",
         With(BitFields(32, 108, 0xFF0000, 0xFF00, 0xFF, 0xFF000000),
              [](BitmapForm& f) { f.topDown = true; }),
         32},
        // Alpha bit fields: four masks behind a 40-byte header, three in a 52-byte header
        // (no alpha), four in a 56-byte one.
        {"32 bits alpha bit fields, 40-byte header",
         AlphaBitFields(32, 40, 0xFF0000, 0xFF00, 0xFF, 0xFF000000), 32, false},
        {"32 bits alpha bit fields, alpha lowest, 40-byte header",
         AlphaBitFields(32, 40, 0xFF000000, 0xFF0000, 0xFF00, 0xFF), 32, false},
        {"16 bits 4-4-4-4 alpha bit fields, 40-byte header",
         AlphaBitFields(16, 40, 0x0F00, 0x00F0, 0x000F, 0xF000), 32, false},
        {"16 bits 5-6-5 alpha bit fields, no alpha mask, 40-byte header",
         AlphaBitFields(16, 40, 0xF800, 0x07E0, 0x001F), 24, false},
        {"32 bits alpha bit fields, 52-byte header", AlphaBitFields(32, 52, 0xFF0000, 0xFF00, 0xFF),
         24, false},
        {"32 bits alpha bit fields, 56-byte header, top-down",
         With(AlphaBitFields(32, 56, 0xFF, 0xFF00, 0xFF0000, 0xFF000000),
              [](BitmapForm& f) { f.topDown = true; }),
         32, false},
        // The 12-byte header: 16-bit sizes, three-byte colour entries.
        {"1 bit, 12-byte header", Form(1, 12), 1},
        {"4 bits, 12-byte header", Form(4, 12), 4},
        {"8 bits, 12-byte header, gap", With(Form(8, 12), [](BitmapForm& f) { f.gapBytes = 6; }),
         8},
        {"24 bits, 12-byte header", Form(24, 12), 24},
        {"256 x 256, 8 bits, 12-byte header",
         With(Form(8, 12), [](BitmapForm& f) { f.width = f.height = 256; }), 8},
        // Sizes: the widest and highest an icon holds, and odd ones.
        {"256 x 256, 24 bits, top-down",
         With(Form(24),
              [](BitmapForm& f) {
                  f.width = f.height = 256;
                  f.topDown = true;
              }),
         24},
        {"1 x 1, 8-bit runs",
         With(Form(8),
              [](BitmapForm& f) {
                  f.width = f.height = 1;
                  f.compression = 1;
              }),
         8},
        {"33 x 2, 1 bit, 108-byte header",
         With(Form(1, 108),
              [](BitmapForm& f) {
                  f.width = 33;
                  f.height = 2;
              }),
         1},
    };
}

}  // namespace pictile_test
