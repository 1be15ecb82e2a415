#include "win32/IconFile.h"

namespace {

constexpr int kBitmapInfoHeaderSize = 40;
constexpr int kPaletteBytes = ICON_PALETTE_SIZE * 4;
constexpr int kDirectoryHeaderSize = 6;
constexpr int kDirectoryEntrySize = 16;
constexpr int kBitsPerPixel = 4;
constexpr int kMaxIconSide = 256;

int PaddedRowBytes(int bits) {
    return (bits + 31) / 32 * 4;
}

int ColourBytes(const CIconImage& image) {
    return PaddedRowBytes(image.width * kBitsPerPixel) * image.height;
}

int MaskBytes(const CIconImage& image) {
    return PaddedRowBytes(image.width) * image.height;
}

bool IsWellFormed(const CIconImage& image) {
    if (image.width < 1 || image.width > kMaxIconSide || image.height < 1 ||
        image.height > kMaxIconSide || static_cast<int>(image.rows.size()) != image.height) {
        return false;
    }
    for (const char* row : image.rows) {
        if (row == nullptr) {
            return false;
        }
        int length = 0;
        for (; row[length] != '\0'; ++length) {
            if (length >= image.width || IconPixelIndex(row[length]) == -2) {
                return false;
            }
        }
        if (length != image.width) {
            return false;
        }
    }
    return true;
}

void PutWord(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

void PutDword(std::uint8_t* at, std::uint32_t value) {
    PutWord(at, value & 0xFFFF);
    PutWord(at + 2, value >> 16);
}

}  // namespace

int IconPixelIndex(char pixel) {
    if (pixel >= '0' && pixel <= '9') {
        return pixel - '0';
    }
    if (pixel >= 'A' && pixel <= 'F') {
        return pixel - 'A' + 10;
    }
    if (pixel == '.') {
        return -1;
    }
    return -2;
}

int IconImageSize(const CIconImage& image) {
    if (!IsWellFormed(image)) {
        return -1;
    }
    return kBitmapInfoHeaderSize + kPaletteBytes + ColourBytes(image) + MaskBytes(image);
}

int BuildIconImage(const CIconImage& image,
                   std::span<const std::uint32_t, ICON_PALETTE_SIZE> palette, std::uint8_t* buffer,
                   int size) {
    const int total = IconImageSize(image);
    if (total < 0 || buffer == nullptr || size < total) {
        return -1;
    }
    for (int i = 0; i < total; ++i) {
        buffer[i] = 0;
    }

    // BITMAPINFOHEADER: an icon image is stored twice as high, colour rows then mask rows.
    std::uint8_t* header = buffer;
    PutDword(header + 0, kBitmapInfoHeaderSize);
    PutDword(header + 4, static_cast<std::uint32_t>(image.width));
    PutDword(header + 8, static_cast<std::uint32_t>(image.height * 2));
    PutWord(header + 12, 1);  // planes
    PutWord(header + 14, kBitsPerPixel);
    PutDword(header + 16, 0);  // BI_RGB
    PutDword(header + 20, static_cast<std::uint32_t>(ColourBytes(image) + MaskBytes(image)));

    // RGBQUAD entries: blue, green, red, reserved.
    std::uint8_t* colours = buffer + kBitmapInfoHeaderSize;
    for (int i = 0; i < ICON_PALETTE_SIZE; ++i) {
        colours[i * 4 + 0] = static_cast<std::uint8_t>(palette[i] & 0xFF);
        colours[i * 4 + 1] = static_cast<std::uint8_t>((palette[i] >> 8) & 0xFF);
        colours[i * 4 + 2] = static_cast<std::uint8_t>((palette[i] >> 16) & 0xFF);
    }

    // Bitmap rows run bottom-up. A transparent pixel is colour 0 with its mask bit set, which
    // lets the background through.
    std::uint8_t* colourRows = colours + kPaletteBytes;
    std::uint8_t* maskRows = colourRows + ColourBytes(image);
    const int colourStride = PaddedRowBytes(image.width * kBitsPerPixel);
    const int maskStride = PaddedRowBytes(image.width);
    for (int y = 0; y < image.height; ++y) {
        const char* row = image.rows[static_cast<std::size_t>(image.height - 1 - y)];
        for (int x = 0; x < image.width; ++x) {
            const int index = IconPixelIndex(row[x]);
            if (index < 0) {
                maskRows[y * maskStride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                continue;
            }
            const int shift = (x % 2 == 0) ? 4 : 0;
            colourRows[y * colourStride + x / 2] |= static_cast<std::uint8_t>(index << shift);
        }
    }
    return total;
}

int BuildIconFile(std::span<const CIconImage* const> images,
                  std::span<const std::uint32_t, ICON_PALETTE_SIZE> palette, std::uint8_t* buffer,
                  int size) {
    const int count = static_cast<int>(images.size());
    if (count < 1 || count > ICON_FILE_MAX_IMAGES || buffer == nullptr) {
        return -1;
    }
    int total = kDirectoryHeaderSize + kDirectoryEntrySize * count;
    for (const CIconImage* image : images) {
        const int imageSize = image != nullptr ? IconImageSize(*image) : -1;
        if (imageSize < 0) {
            return -1;
        }
        total += imageSize;
    }
    if (size < total) {
        return -1;
    }

    PutWord(buffer + 0, 0);  // reserved
    PutWord(buffer + 2, 1);  // an icon (2 would be a cursor)
    PutWord(buffer + 4, static_cast<std::uint32_t>(count));
    int offset = kDirectoryHeaderSize + kDirectoryEntrySize * count;
    for (int i = 0; i < count; ++i) {
        const CIconImage& image = *images[static_cast<std::size_t>(i)];
        std::uint8_t* entry = buffer + kDirectoryHeaderSize + kDirectoryEntrySize * i;
        const int imageSize = BuildIconImage(image, palette, buffer + offset, size - offset);
        entry[0] = static_cast<std::uint8_t>(image.width % kMaxIconSide);  // 0 means 256
        entry[1] = static_cast<std::uint8_t>(image.height % kMaxIconSide);
        entry[2] = ICON_PALETTE_SIZE;
        entry[3] = 0;
        PutWord(entry + 4, 1);  // planes
        PutWord(entry + 6, kBitsPerPixel);
        PutDword(entry + 8, static_cast<std::uint32_t>(imageSize));
        PutDword(entry + 12, static_cast<std::uint32_t>(offset));
        offset += imageSize;
    }
    return total;
}
