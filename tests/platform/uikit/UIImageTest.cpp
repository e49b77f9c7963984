#include "platform/uikit/UIImage.h"

#include "platform/uikit/UIImageView.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using testing_support::DeviceTest;

// A valid 20x8 pixel RGBA PNG.
const unsigned char kPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52,
    0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x08, 0x08, 0x06, 0x00, 0x00, 0x00, 0xf9, 0x9d, 0xdf,
    0xed, 0x00, 0x00, 0x00, 0x16, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0xf0,
    0x9f, 0x9a, 0x98, 0x61, 0xd4, 0xc0, 0x51, 0x03, 0x49, 0xc7, 0x00, 0x85, 0x25, 0x3e, 0xd0, 0x8d,
    0x59, 0x61, 0x36, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

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
}

TEST_F(UIImageTest, ADoubleScaleNameHalvesTheSizeInPoints) {
    auto plain = UIImage::imageWithContentsOfFile(write("row.png"));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->size(), CGSizeMake(20, 8));
    auto retina = UIImage::imageWithContentsOfFile(write("button_silver@2x~iphone.png"));
    ASSERT_NE(retina, nullptr);
    EXPECT_EQ(retina->size(), CGSizeMake(10, 4));
    EXPECT_EQ(retina->scale(), 2);
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
