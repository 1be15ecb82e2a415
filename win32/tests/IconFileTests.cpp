#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/ProgramIcon.h"
#include "ui/Resource.h"
#include "win32/IconFile.h"
#include "win32/tests/LittleEndianFields.h"

namespace {

using win32_testing::DwordAt;
using win32_testing::WordAt;

constexpr std::uint32_t kBackground = 0x00FF00FF;  // magenta, 0x00RRGGBB: no icon colour

// What the user sees: the icon drawn by the system on a magenta background, as 0x00RRGGBB
// pixels, top row first.
std::vector<std::uint32_t> RenderIcon(HICON icon, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint32_t> pixels;
    if (bitmap == nullptr || bits == nullptr) {
        DeleteDC(dc);
        return pixels;
    }
    HGDIOBJ previous = SelectObject(dc, bitmap);
    auto* raw = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
        raw[i] = kBackground;
    }
    DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    GdiFlush();
    pixels.assign(raw, raw + width * height);
    for (std::uint32_t& pixel : pixels) {
        pixel &= 0x00FFFFFF;
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

std::vector<std::uint32_t> ExpectedPixels(const CIconImage& image) {
    std::vector<std::uint32_t> pixels;
    for (const char* row : image.rows) {
        for (int x = 0; x < image.width; ++x) {
            const int index = IconPixelIndex(row[x]);
            pixels.push_back(index < 0 ? kBackground : IconPalette()[index]);
        }
    }
    return pixels;
}

TEST(IconFile, ImageSizesFollowTheRowPadding) {
    // header 40 + palette 64 + colour rows 16 x 32 + mask rows 4 x 32
    EXPECT_EQ(IconImageSize(LargeProgramIcon()), 40 + 64 + 512 + 128);
    // colour rows 8 x 16 + mask rows padded from 2 to 4 bytes x 16
    EXPECT_EQ(IconImageSize(SmallProgramIcon()), 40 + 64 + 128 + 64);
}

TEST(IconFile, DirectoryListsBothImagesWithSixteenColours) {
    const CIconImage* images[] = {&LargeProgramIcon(), &SmallProgramIcon()};
    static std::uint8_t bytes[4096];
    const int size = BuildIconFile(images, IconPalette(), bytes, sizeof bytes);
    ASSERT_EQ(size, 6 + 32 + 744 + 296);
    EXPECT_EQ(WordAt(bytes, 0), 0);
    EXPECT_EQ(WordAt(bytes, 2), 1);
    EXPECT_EQ(WordAt(bytes, 4), 2);
    const int expectedSide[] = {32, 16};
    int offset = 6 + 32;
    for (int i = 0; i < 2; ++i) {
        const std::uint8_t* entry = bytes + 6 + 16 * i;
        EXPECT_EQ(entry[0], expectedSide[i]);
        EXPECT_EQ(entry[1], expectedSide[i]);
        EXPECT_EQ(entry[2], 16);
        EXPECT_EQ(WordAt(entry, 4), 1);
        EXPECT_EQ(WordAt(entry, 6), 4);
        EXPECT_EQ(static_cast<int>(DwordAt(entry, 12)), offset);
        const int imageSize = static_cast<int>(DwordAt(entry, 8));
        EXPECT_EQ(DwordAt(bytes, offset), 40u);
        EXPECT_EQ(static_cast<int>(DwordAt(bytes, offset + 4)), expectedSide[i]);
        EXPECT_EQ(static_cast<int>(DwordAt(bytes, offset + 8)), expectedSide[i] * 2);
        offset += imageSize;
    }
    EXPECT_EQ(offset, size);
}

TEST(IconFile, RefusesMalformedImagesAndSmallBuffers) {
    static std::uint8_t bytes[4096];
    const char* const shortRow[] = {"0123", "012"};
    const char* const badPixel[] = {"0123", "01x3"};
    const char* const longRow[] = {"0123", "01234"};
    const char* const lowerCase[] = {"abcd", "ABCD"};
    const char* const good[] = {"0123", "..FF"};
    const CIconImage cases[] = {
        {4, 2, shortRow}, {4, 2, badPixel}, {4, 2, longRow}, {4, 2, lowerCase},
        {4, 3, good},     {0, 0, {}},       {300, 2, good},
    };
    for (const CIconImage& image : cases) {
        EXPECT_EQ(IconImageSize(image), -1);
        EXPECT_EQ(BuildIconImage(image, IconPalette(), bytes, sizeof bytes), -1);
        const CIconImage* images[] = {&image};
        EXPECT_EQ(BuildIconFile(images, IconPalette(), bytes, sizeof bytes), -1);
    }
    const CIconImage fine = {4, 2, good};
    const int size = IconImageSize(fine);
    ASSERT_GT(size, 0);
    EXPECT_EQ(BuildIconImage(fine, IconPalette(), bytes, size - 1), -1);
    EXPECT_EQ(BuildIconImage(fine, IconPalette(), bytes, size), size);
    const CIconImage* images[] = {&fine};
    EXPECT_EQ(BuildIconFile(images, IconPalette(), bytes, 6 + 16 + size - 1), -1);
    EXPECT_EQ(BuildIconFile(images, IconPalette(), bytes, 6 + 16 + size), 6 + 16 + size);
    EXPECT_EQ(BuildIconFile({}, IconPalette(), bytes, sizeof bytes), -1);
}

TEST(IconFile, TheSystemDrawsEachImageAsTheIconDataSays) {
    for (const CIconImage* image : {&LargeProgramIcon(), &SmallProgramIcon()}) {
        static std::uint8_t bytes[4096];
        const int size = BuildIconImage(*image, IconPalette(), bytes, sizeof bytes);
        ASSERT_GT(size, 0);
        HICON icon = CreateIconFromResourceEx(bytes, static_cast<DWORD>(size), TRUE, 0x00030000,
                                              image->width, image->height, LR_DEFAULTCOLOR);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(RenderIcon(icon, image->width, image->height), ExpectedPixels(*image));
        DestroyIcon(icon);
    }
}

TEST(IconFile, ResourceOneTwentyEightHoldsBothImages) {
    // This executable carries the same resource script as the program.
    for (const CIconImage* image : {&LargeProgramIcon(), &SmallProgramIcon()}) {
        HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                                   MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                                   image->width, image->height, 0));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(RenderIcon(icon, image->width, image->height), ExpectedPixels(*image));
        DestroyIcon(icon);
    }
    HRSRC group = FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME),
                                MAKEINTRESOURCEA(14));
    ASSERT_NE(group, nullptr);
    const auto* directory =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, group)));
    ASSERT_NE(directory, nullptr);
    EXPECT_EQ(WordAt(directory, 4), 2);  // two images in the group
}

}  // namespace
