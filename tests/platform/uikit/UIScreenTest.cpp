#include "platform/uikit/UIScreen.h"

#include "platform/uikit/UIDevice.h"
#include "tests/support/CaseName.h"
#include "tests/support/DeviceFixture.h"

namespace {

struct ScreenCase {
    UIUserInterfaceIdiom idiom;
    CGSize size;
    const char* model;
};

void PrintTo(const ScreenCase& c, std::ostream* out) {
    *out << c.model << " " << c.size.width << "x" << c.size.height;
}

class UIScreenTest : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(UIScreenTest, TheDeviceReportsItsConfiguredIdiomAndPortraitBounds) {
    testing_support::Device device({GetParam().idiom, GetParam().size, 2, 20});
    EXPECT_EQ(UIDevice::currentDevice()->userInterfaceIdiom(), GetParam().idiom);
    EXPECT_EQ(UIDevice::currentDevice()->model(), GetParam().model);
    EXPECT_EQ(UIScreen::mainScreen()->bounds(),
              CGRectMake(0, 0, GetParam().size.width, GetParam().size.height));
    EXPECT_EQ(UIScreen::mainScreen()->applicationFrame(),
              CGRectMake(0, 20, GetParam().size.width, GetParam().size.height - 20));
}

INSTANTIATE_TEST_SUITE_P(Devices, UIScreenTest,
                         ::testing::Values(ScreenCase{UIUserInterfaceIdiomPhone, {320, 480}, "iPhone"},
                                           ScreenCase{UIUserInterfaceIdiomPhone, {320, 568}, "iPhone"},
                                           ScreenCase{UIUserInterfaceIdiomPad, {768, 1024}, "iPad"}),
                         testing_support::PrintedName());

} // namespace
