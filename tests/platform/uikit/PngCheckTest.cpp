#include "platform/uikit/PngCheck.h"
#include "platform/uikit/CheckedImages.h"

#include <gtest/gtest.h>
#include <png.h>

#include <random>
#include <string>
#include <vector>

namespace {

// A 10x10 grey-and-alpha PNG, interlaced, with a gamma chunk: what the simplified writer below
// cannot make.
const unsigned char kInterlaced[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x0a, 0x08, 0x04, 0x00, 0x00, 0x01, 0x50, 0x3c, 0x37, 0xa0, 0x00,
    0x00, 0x00, 0x04, 0x67, 0x41, 0x4d, 0x41, 0x00, 0x00, 0xc3, 0x50, 0x00, 0x99, 0xb5, 0x34, 0x00, 0x00,
    0x00, 0x5c, 0x49, 0x44, 0x41, 0x54, 0x08, 0x99, 0x63, 0x66, 0x90, 0xff, 0xc0, 0xc0, 0xd8, 0xb1, 0xfc,
    0xc3, 0x07, 0x86, 0x1f, 0xe2, 0xcc, 0x2c, 0x53, 0x18, 0x5d, 0x92, 0x7f, 0xfc, 0xf8, 0xf1, 0x83, 0xb1,
    0x66, 0xf6, 0x8f, 0x1f, 0x8c, 0x07, 0xee, 0xff, 0xf8, 0xc1, 0xc8, 0xa2, 0xfc, 0xe3, 0x07, 0x83, 0x92,
    0xe3, 0xbc, 0xbd, 0x52, 0x96, 0xd3, 0xb6, 0x0a, 0x19, 0x32, 0xb9, 0xc0, 0x01, 0x83, 0x5d, 0xec, 0xae,
    0x9b, 0x66, 0xa1, 0x9b, 0x2e, 0xea, 0xf9, 0x32, 0x29, 0xc1, 0x01, 0x41, 0x26, 0xa3, 0xa0, 0x81, 0x1d,
    0x06, 0x40, 0x92, 0xc7, 0xaa, 0x89, 0x1c, 0x41, 0x00, 0xf2, 0x15, 0x32, 0xa3, 0x80, 0xc4, 0x70, 0x6d,
    0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

// The image formats the platform's files come in, written by libpng itself.
std::vector<std::string> samplePngs() {
    std::vector<std::string> pngs{
        std::string(reinterpret_cast<const char*>(kInterlaced), sizeof kInterlaced)};
    for (const png_uint_32 format : {png_uint_32{PNG_FORMAT_GRAY}, png_uint_32{PNG_FORMAT_RGB},
                                     png_uint_32{PNG_FORMAT_RGBA}, png_uint_32{PNG_FORMAT_LINEAR_RGB_ALPHA},
                                     png_uint_32{PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_COLORMAP}}) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = 13;
        image.height = 7;
        image.format = format;
        image.colormap_entries = (format & PNG_FORMAT_FLAG_COLORMAP) != 0 ? 4 : 0;
        std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = static_cast<png_byte>(image.colormap_entries != 0 ? i % 4 : (i * 37) % 251);
        }
        std::vector<png_byte> colormap(16, 0x80);
        png_alloc_size_t size = 0;
        png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, colormap.data());
        std::string bytes(size, '\0');
        EXPECT_NE(
            png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, colormap.data()), 0);
        pngs.push_back(bytes.substr(0, size));
    }
    return pngs;
}

// libpng's own full decode to RGBA, the reader the check replaced: the oracle.
std::optional<ui::PixelSize> fullDecode(const std::string& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::optional<ui::PixelSize> size;
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) != 0 && image.width <= 32767 &&
        image.height <= 32767) {
        image.format = PNG_FORMAT_RGBA;
        std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
        if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) != 0) {
            size = ui::PixelSize{image.width, image.height};
        }
    }
    png_image_free(&image);
    return size;
}

void expectSameAsFullDecode(const std::string& bytes, const std::string& what) {
    const std::optional<ui::PixelSize> expected = fullDecode(bytes);
    const std::optional<ui::PixelSize> got = ui::decodedPngSize(bytes, 32767);
    ASSERT_EQ(got.has_value(), expected.has_value()) << what;
    if (got) {
        EXPECT_EQ(got->width, expected->width) << what;
        EXPECT_EQ(got->height, expected->height) << what;
    }
}

// Every way a file can be cut short, and files changed in one to three bytes at random (seeded by
// the test's name, so a failure reproduces), are judged as the full decode judges them: the row at
// a time decode accepts exactly what decodes, with the same size.
TEST(PngCheck, JudgesDamagedFilesAsTheFullDecodeDoes) {
    std::mt19937 random(std::hash<std::string>{}("PngCheck.JudgesDamagedFilesAsTheFullDecodeDoes"));
    std::size_t accepted = 0;
    for (const std::string& png : samplePngs()) {
        ASSERT_TRUE(ui::decodedPngSize(png, 32767).has_value());
        for (std::size_t length = 0; length < png.size(); ++length) {
            expectSameAsFullDecode(png.substr(0, length), "cut to " + std::to_string(length));
        }
        for (int trial = 0; trial < 600; ++trial) {
            std::string changed = png;
            for (int bytes = 1 + static_cast<int>(random() % 3); bytes > 0; --bytes) {
                changed[random() % changed.size()] = static_cast<char>(random() & 0xffU);
            }
            expectSameAsFullDecode(changed, "changed, trial " + std::to_string(trial));
            accepted += ui::decodedPngSize(changed, 32767).has_value() ? 1 : 0;
        }
    }
    // Changes to what the decode never checks (a gamma value, a pixel within its filter) leave an
    // image: both answers were exercised.
    EXPECT_GT(accepted, 0U);
}

TEST(PngCheck, RefusesASideLongerThanAllowed) {
    const std::string png = samplePngs()[1];
    EXPECT_TRUE(ui::decodedPngSize(png, 13).has_value());
    EXPECT_FALSE(ui::decodedPngSize(png, 12).has_value());
}

// The same bytes are decoded once; other bytes, even of the same length, are decoded anew.
TEST(CheckedImages, DecodesOnlyBytesNotCheckedBefore) {
    ui::CheckedImages images;
    const std::vector<std::string> pngs = samplePngs();
    ASSERT_TRUE(images.decodedSize(pngs[1], 32767).has_value());
    ASSERT_TRUE(images.decodedSize(pngs[1], 32767).has_value());
    EXPECT_EQ(images.decodings(), 1U);
    std::string damaged = pngs[1];
    damaged[damaged.size() / 2] = static_cast<char>(~damaged[damaged.size() / 2]);
    EXPECT_EQ(images.decodedSize(damaged, 32767).has_value(), fullDecode(damaged).has_value());
    EXPECT_EQ(images.decodings(), 2U);
    EXPECT_FALSE(images.decodedSize(pngs[1], 12).has_value()) << "a smaller limit is its own check";
    EXPECT_EQ(images.decodings(), 3U);
}

// kEntries files are remembered; each one more replaces the oldest, in turn; a file is remembered
// up to kLargestRemembered bytes (what follows the pixels is never read, so padding keeps it an
// image).
TEST(CheckedImages, RemembersTheNewestFilesUpToTheirSize) {
    ui::CheckedImages images;
    const std::string png = samplePngs()[2];
    auto padded = [&png](std::size_t size) { return png + std::string(size - png.size(), '\0'); };
    auto decodesAgain = [&images](const std::string& bytes) {
        const std::size_t before = images.decodings();
        EXPECT_TRUE(images.decodedSize(bytes, 32767).has_value());
        return images.decodings() != before;
    };
    for (std::size_t i = 0; i < ui::CheckedImages::kEntries; ++i) {
        ASSERT_TRUE(decodesAgain(padded(png.size() + 1 + i)));
    }
    EXPECT_FALSE(decodesAgain(padded(png.size() + 1)))
        << "all " << ui::CheckedImages::kEntries << " are kept";
    ASSERT_TRUE(decodesAgain(padded(png.size() + 100)));
    EXPECT_TRUE(decodesAgain(padded(png.size() + 1))) << "the oldest went first";
    EXPECT_TRUE(decodesAgain(padded(png.size() + 2))) << "then the next oldest";
    EXPECT_FALSE(decodesAgain(padded(png.size() + 100))) << "the newer ones stay";

    ASSERT_TRUE(decodesAgain(padded(ui::CheckedImages::kLargestRemembered)));
    EXPECT_FALSE(decodesAgain(padded(ui::CheckedImages::kLargestRemembered)));
    ASSERT_TRUE(decodesAgain(padded(ui::CheckedImages::kLargestRemembered + 1)));
    EXPECT_TRUE(decodesAgain(padded(ui::CheckedImages::kLargestRemembered + 1)));
}

} // namespace
