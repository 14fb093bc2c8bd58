#include "bitmap_forms.h"

#include "bitmap_file.h"

namespace pictile_test {
namespace {

class Sequence {
  public:
    std::uint32_t Next() {
        state_ = state_ * 1103515245u + 12345u;
        return state_ >> 8;
    }

  private:
    std::uint32_t state_ = 2024;
};

void PutRunLengthRecords(std::string& out, const std::vector<std::uint8_t>& row, int bitCount) {
    const auto pack = [bitCount](std::uint8_t a, std::uint8_t b) {
        return static_cast<char>(bitCount == 8 ? a : (a << 4 | b));
    };
    std::size_t x = 0;
    while (x < row.size()) {
        std::size_t run = 1;
        while (x + run < row.size() && run < 255 && row[x + run] == row[x]) {
            ++run;
        }
        if (run >= 2 || row.size() - x < 3) {
            out += static_cast<char>(run);
            out += pack(row[x], row[x]);
            x += run;
            continue;
        }
        // A literal up to the next pair of equal pixels.
        std::size_t count = 1;
        while (x + count < row.size() && count < 255 &&
               !(x + count + 1 < row.size() && row[x + count] == row[x + count + 1])) {
            ++count;
        }
        if (count < 3) {
            count = 3;
        }
        out += '\0';
        out += static_cast<char>(count);
        std::string literal;
        for (std::size_t i = 0; i < count; i += (bitCount == 8 ? 1 : 2)) {
            literal += pack(row[x + i], i + 1 < count ? row[x + i + 1] : 0);
        }
        if (literal.size() % 2 != 0) {
            literal += '\0';
        }
        out += literal;
        x += count;
    }
    out += std::string("\0\0", 2);
}

// The file header before `body`, whose last `pixelBytes` are the pixel data.
std::string WithFileHeader(const std::string& body, std::size_t pixelBytes) {
    std::string file;
    Put16(file, 0x4D42);
    Put32(file, static_cast<std::uint32_t>(14 + body.size()));
    Put32(file, 0);
    Put32(file, static_cast<std::uint32_t>(14 + body.size() - pixelBytes));
    return file + body;
}

}  // namespace

std::string EncodeRunLength(const std::vector<std::vector<std::uint8_t>>& rows, int bitCount) {
    std::string out;
    for (const auto& row : rows) {
        PutRunLengthRecords(out, row, bitCount);
    }
    return out + std::string("\0\1", 2);
}

std::string MakeBitmapOfForm(const BitmapForm& form) {
    Sequence sequence;
    const std::uint32_t fullTable = form.bitCount <= 8 ? 1u << form.bitCount : 0;
    const std::uint32_t entries = form.coloursUsed != 0 ? form.coloursUsed : fullTable;

    const bool core = form.headerBytes == 12;
    const bool bitFields = form.compression == 3 || form.compression == 6;
    std::string table;
    for (std::uint32_t i = 0; i < entries; ++i) {
        Put32(table, sequence.Next() & 0xFFFFFF);
        if (core) {
            table.pop_back();  // blue, green and red only
        }
    }

    // Rows in file order, bottom row first unless top-down.
    const std::uint32_t rowBytes = RowBytes(form.width, form.bitCount);
    std::string pixels;
    std::vector<std::vector<std::uint8_t>> indexRows;
    for (int y = 0; y < form.height; ++y) {
        std::string row;
        std::vector<std::uint8_t> indices;
        std::uint32_t previous = 0;
        for (int x = 0; x < form.width; ++x) {
            const std::uint32_t r = sequence.Next();
            if (form.bitCount <= 8) {
                const std::uint32_t index = r % 5 < 3 && x > 0 ? previous : r % entries;
                indices.push_back(static_cast<std::uint8_t>(index));
                previous = index;
            } else if (form.bitCount == 16) {
                Put16(row, static_cast<std::uint16_t>(r));
            } else if (form.bitCount == 24) {
                row += std::string{static_cast<char>(r), static_cast<char>(r >> 8),
                                   static_cast<char>(r >> 16)};
            } else {
                // Uncompressed 32-bit pixels keep their fourth byte at 255 (opaque).
                Put32(row, bitFields ? r ^ (r << 9) : r | 0xFF000000u);
            }
        }
        if (form.bitCount <= 8) {
            const int perByte = 8 / form.bitCount;
            row.assign(rowBytes, '\0');
            for (int x = 0; x < form.width; ++x) {
                row[x / perByte] = static_cast<char>(
                    row[x / perByte] | indices[x] << (8 - form.bitCount * (x % perByte + 1)));
            }
            if (form.runsIntoPadding) {
                indices.resize(rowBytes * perByte, 0);
            }
            indexRows.push_back(indices);
        }
        row.resize(rowBytes, '\0');
        pixels += row;
    }
    if (form.compression == 1 || form.compression == 2) {
        pixels = form.runLengthRecords.empty() ? EncodeRunLength(indexRows, form.bitCount)
                                               : form.runLengthRecords;
    }

    // A 40-byte header is followed by four masks with alpha bit fields; larger ones hold
    // three from 52 bytes on, four from 56.
    std::string masks;
    if (bitFields || form.headerBytes >= 52) {
        const bool alpha =
            form.headerBytes >= 56 || (form.headerBytes == 40 && form.compression == 6);
        for (int i = 0; i < (alpha ? 4 : 3); ++i) {
            Put32(masks, form.masks[i]);
        }
    }
    const std::string tail = table + std::string(form.gapBytes, '\x5A') + pixels;
    std::string info;
    Put32(info, form.headerBytes);
    if (core) {
        Put16(info, static_cast<std::uint16_t>(form.width));
        Put16(info, static_cast<std::uint16_t>(form.height));
        Put16(info, 1);
        Put16(info, form.bitCount);
        return WithFileHeader(info + tail, pixels.size());
    }
    Put32(info, static_cast<std::uint32_t>(form.width));
    Put32(info, static_cast<std::uint32_t>(form.topDown ? -form.height : form.height));
    Put16(info, 1);
    Put16(info, form.bitCount);
    Put32(info, form.compression);
    Put32(info, form.imageSizeZero ? 0 : static_cast<std::uint32_t>(pixels.size()));
    Put32(info, 3780);  // 96 dots per inch
    Put32(info, 3780);
    Put32(info, form.coloursUsed);
    Put32(info, 0);
    if (form.headerBytes > 40) {
        info += masks;
        info.resize(form.headerBytes, '\0');
        if (form.headerBytes >= 108) {
            info.replace(56, 4, "BGRs");  // colour space: standard RGB
        }
    } else if (bitFields) {
        info += masks;  // behind a 40-byte header, the masks precede the colour table
    }
    return WithFileHeader(info + tail, pixels.size());
}

}  // namespace pictile_test
