#include "platform/uikit/UIImage.h"

#include "platform/uikit/UIImageView.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/TemporaryDirectory.h"

#include <cstdint>
#include <sys/stat.h>
#include <utility>

namespace {

using testing_support::DeviceTest;

// A valid 20x8 pixel RGBA PNG.
const unsigned char kPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x08, 0x08, 0x06, 0x00, 0x00, 0x00, 0xf9, 0x9d, 0xdf,
    0xed, 0x00, 0x00, 0x00, 0x16, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0xf0,
    0x9f, 0x9a, 0x98, 0x61, 0xd4, 0xc0, 0x51, 0x03, 0x49, 0xc7, 0x00, 0x85, 0x25, 0x3e, 0xd0, 0x8d,
    0x59, 0x61, 0x36, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

// A chunk's CRC-32 (over its type and data), as a PNG stores it.
std::uint32_t chunkCrc(const unsigned char* from, std::size_t length) {
    std::uint32_t crc = 0xffffffffU;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= from[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xedb88320U & (0U - (crc & 1U)));
        }
    }
    return ~crc;
}

// kPng with its header claiming `width` x `height` pixels, its CRC mended.
std::string pngClaiming(std::uint32_t width, std::uint32_t height) {
    std::string bytes(reinterpret_cast<const char*>(kPng), sizeof kPng);
    for (auto [at, value] : {std::pair{16, width}, std::pair{20, height}}) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xffU);
        }
    }
    std::uint32_t crc = chunkCrc(reinterpret_cast<const unsigned char*>(bytes.data()) + 12, 17);
    for (int i = 0; i < 4; ++i) {
        bytes[29 + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xffU);
    }
    return bytes;
}

class UIImageTest : public DeviceTest {
  protected:
    testing_support::TemporaryDirectory folder;
    std::string write(const std::string& name) {
        std::string path = folder.file(name);
        testing_support::writeWholeFile(path, std::string(reinterpret_cast<const char*>(kPng), sizeof kPng));
        return path;
    }
};

TEST_F(UIImageTest, AMissingOrUndecodableFileGivesNil) {
    EXPECT_EQ(UIImage::imageWithContentsOfFile(folder.path() + "/missing.png"), nullptr);
    std::string broken = folder.file("broken.png");
    testing_support::writeWholeFile(broken, "not a png");
    EXPECT_EQ(UIImage::imageWithContentsOfFile(broken), nullptr);
    EXPECT_EQ(UIImage::imageWithContentsOfFile(""), nullptr);
    // A sound header over pixels cut short is no image either.
    std::string cut = folder.file("cut.png");
    testing_support::writeWholeFile(cut, std::string(reinterpret_cast<const char*>(kPng), 50));
    EXPECT_EQ(UIImage::imageWithContentsOfFile(cut), nullptr);
    // A header claiming a size no screen draws is refused before anything is decoded.
    std::string vast = folder.file("vast.png");
    testing_support::writeWholeFile(vast, pngClaiming(100000, 100000));
    EXPECT_EQ(UIImage::imageWithContentsOfFile(vast), nullptr);
    // The same header mending, at the real size, still decodes (the CRC is right).
    std::string same = folder.file("same.png");
    testing_support::writeWholeFile(same, pngClaiming(20, 8));
    EXPECT_NE(UIImage::imageWithContentsOfFile(same), nullptr);
    // The file is read again at every load: the same name and length with one pixel byte changed
    // (its chunk's checksum no longer holds) is no image, though the bytes before decoded.
    std::string changed = pngClaiming(20, 8);
    changed[45] = static_cast<char>(~changed[45]);
    testing_support::writeWholeFile(same, changed);
    EXPECT_EQ(UIImage::imageWithContentsOfFile(same), nullptr);
    // Nothing but a regular file is read: a folder or a FIFO at the path is no image, and the
    // FIFO is not waited on.
    EXPECT_EQ(UIImage::imageWithContentsOfFile(folder.path()), nullptr);
    const std::string fifo = folder.file("fifo.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(UIImage::imageWithContentsOfFile(fifo), nullptr);
}

TEST_F(UIImageTest, ADoubleScaleNameHalvesTheSizeInPoints) {
    auto plain = UIImage::imageWithContentsOfFile(write("row.png"));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->size(), CGSizeMake(20, 8));
    auto retina = UIImage::imageWithContentsOfFile(write("button_silver@2x~iphone.png"));
    ASSERT_NE(retina, nullptr);
    EXPECT_EQ(retina->size(), CGSizeMake(10, 4));
    EXPECT_EQ(retina->scale(), 2);
    // Only "@2x" ending the name, or followed by the device's "~", declares double scale.
    for (auto [name, scale] : {std::pair{"b@2x.png", 2}, std::pair{"b@2x~.png", 2}, std::pair{"b@2xa.png", 1},
                               std::pair{"b@2.png", 1}, std::pair{"b@3x.png", 1}, std::pair{"b2x.png", 1}}) {
        auto image = UIImage::imageWithContentsOfFile(write(name));
        ASSERT_NE(image, nullptr) << name;
        EXPECT_EQ(image->scale(), scale) << name;
        EXPECT_EQ(image->size(), CGSizeMake(20.0 / scale, 8.0 / scale)) << name;
    }
    // A plain name prefers its "@2x" sibling on a double-scale screen, and only there.
    const std::string plainName = write("c.png");
    const std::string sharp = write("c@2x.png");
    EXPECT_EQ(UIImage::imageWithContentsOfFile(plainName)->path(), sharp);
    device.environment.configure({UIUserInterfaceIdiomPhone, {320, 480}, 1, 20});
    EXPECT_EQ(UIImage::imageWithContentsOfFile(plainName)->path(), plainName);
}

TEST_F(UIImageTest, StretchableCopiesKeepTheCaps) {
    auto image = UIImage::imageWithContentsOfFile(write("row.png"));
    auto stretched = image->stretchableImageWithLeftCapWidthTopCapHeight(5, 0);
    EXPECT_NE(stretched, image);
    EXPECT_EQ(stretched->leftCapWidth(), 5);
    EXPECT_EQ(stretched->rightCapWidth(), 14);
    EXPECT_EQ(stretched->bottomCapHeight(), 0) << "a top cap of 0 does not stretch vertically";
    EXPECT_EQ(stretched->size(), image->size());
    EXPECT_EQ(image->leftCapWidth(), 0) << "the original is unchanged";
    // Described by file and size, and by the caps only when there are some.
    EXPECT_EQ(image->description(), "row.png 20x8");
    EXPECT_EQ(stretched->description(), "row.png 20x8 caps 5,0");
    const auto tall = image->stretchableImageWithLeftCapWidthTopCapHeight(0, 3);
    EXPECT_EQ(tall->description(), "row.png 20x8 caps 0,3");
    EXPECT_EQ(tall->bottomCapHeight(), 4) << "8 rows: 3 above the one that stretches, 4 below";
    EXPECT_EQ(tall->rightCapWidth(), 0) << "a left cap of 0 does not stretch horizontally";
}

TEST_F(UIImageTest, AnImageViewTakesTheImageSizeAndItsHighlightedImage) {
    auto image = UIImage::imageWithContentsOfFile(write("a.png"));
    auto highlighted = UIImage::imageWithContentsOfFile(write("b.png"));
    auto view = UIImageView::withImage(image);
    EXPECT_EQ(view->frame(), CGRectMake(0, 0, 20, 8));
    EXPECT_FALSE(view->isUserInteractionEnabled());
    view->setHighlightedImage(highlighted);
    view->setHighlighted(true);
    EXPECT_EQ(view->displayedImage(), highlighted);
}

} // namespace
