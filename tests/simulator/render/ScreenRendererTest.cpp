// The renderer draws the toolkit's views as they stand: known states are drawn and the pixels of
// regions that must differ are compared.

#include "simulator/device/DeviceFolder.h"
#include "simulator/render/Picture.h"

#include "platform/uikit/AlertPresenter.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/CaseName.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/TemporaryDirectory.h"

#include <pugixml.hpp>

#include <algorithm>
#include <fstream>
#include <utility>

namespace {

using render::Picture;
using render::Rgba;

// How many pixels of `rect` (points) differ noticeably between two pictures.
int differingPixels(const Picture& a, const Picture& b, CGRect rect) {
    int count = 0;
    for (int y = static_cast<int>(rect.origin.y * 2); y < static_cast<int>(CGRectGetMaxY(rect) * 2); ++y) {
        for (int x = static_cast<int>(rect.origin.x * 2); x < static_cast<int>(CGRectGetMaxX(rect) * 2);
             ++x) {
            Rgba p = a.pixel(x, y);
            Rgba q = b.pixel(x, y);
            if (std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue) > 0.1) {
                ++count;
            }
        }
    }
    return count;
}

double brightness(const Rgba& color) {
    return (color.red + color.green + color.blue) / 3;
}

class ScreenRenderer : public testing_support::DeviceTest {
  protected:
    void SetUp() override {
        window = UIView::withFrame<UIWindow>(CGRectMake(0, 0, 320, 568));
        window->setBackgroundColor(UIColor::whiteColor());
    }
    render::Scene scene() {
        render::Scene out;
        out.moment = now();
        out.clockText = "8:38 AM";
        out.window = window;
        out.alerts = device.environment.alerts().stack();
        return out;
    }
    Picture picture() { return Picture::of(scene()); }
    std::shared_ptr<UIImage> clockImage(const std::string& name) {
        auto system = sim::findDeviceSystemFolder();
        EXPECT_TRUE(system.has_value());
        return UIImage::imageWithContentsOfFile((sim::clockBundleFolder(*system) / name).string());
    }

    std::shared_ptr<UIWindow> window;
};

struct ScreenCase {
    const char* name;
    CGSize points;
    int pixelsWide;
    int pixelsHigh;
};
void PrintTo(const ScreenCase& c, std::ostream* os) {
    *os << c.name;
}

class PictureSize : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(PictureSize, IsTheScreenAtTwoPixelsAPoint) {
    render::Scene scene;
    scene.screenSize = GetParam().points;
    Picture picture = Picture::of(scene);
    EXPECT_EQ(picture.width(), GetParam().pixelsWide);
    EXPECT_EQ(picture.height(), GetParam().pixelsHigh);
}

INSTANTIATE_TEST_SUITE_P(Screens, PictureSize,
                         ::testing::Values(ScreenCase{"phone_4_inch", {320, 568}, 640, 1136},
                                           ScreenCase{"phone_3_5_inch", {320, 480}, 640, 960},
                                           ScreenCase{"tablet", {768, 1024}, 1536, 2048}),
                         testing_support::PrintedName());

TEST_F(ScreenRenderer, TheStatusBarIsABlackStripAboveTheWindow) {
    Picture shown = picture();
    EXPECT_LT(brightness(shown.meanColor(CGRectMake(100, 2, 20, 3))), 0.05);
    EXPECT_GT(brightness(shown.meanColor(CGRectMake(100, 40, 20, 20))), 0.95);
}

TEST_F(ScreenRenderer, AButtonShowsItsPressedImageWhileHighlightedAndDimsWhenDisabled) {
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(23, 30, 125, 44));
    button->setBackgroundImageForState(
        clockImage("button_silver@2x~iphone.png")->stretchableImageWithLeftCapWidthTopCapHeight(10, 0),
        UIControlStateNormal);
    button->setBackgroundImageForState(clockImage("button_silver_pressed@2x~iphone.png")
                                           ->stretchableImageWithLeftCapWidthTopCapHeight(10, 0),
                                       UIControlStateHighlighted);
    window->addSubview(button);
    CGRect area = button->frame();

    Picture enabled = picture();
    button->setHighlighted(true);
    Picture pressed = picture();
    button->setHighlighted(false);
    button->setEnabled(false);
    Picture disabled = picture();

    EXPECT_GT(differingPixels(enabled, pressed, area), 1000);
    EXPECT_GT(brightness(enabled.meanColor(area)), brightness(disabled.meanColor(area)) + 0.1);
    // The stretched background fills the whole button, its caps at both ends.
    EXPECT_LT(brightness(enabled.meanColor(CGRectMake(25, 50, 4, 4))), 0.95);
    EXPECT_LT(brightness(enabled.meanColor(CGRectMake(142, 50, 4, 4))), 0.95);
}

TEST_F(ScreenRenderer, ATitlesAlphaFadesItsText) {
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(20, 100, 200, 44));
    button->setBackgroundColor(UIColor::blackColor());
    button->setTitleForState(std::string("Save"), UIControlStateNormal);
    button->setTitleColorForState(UIColor::whiteColor(), UIControlStateNormal);
    button->titleLabel()->setFont(UIFont::boldSystemFontOfSize(24));
    window->addSubview(button);
    window->layoutIfNeeded();
    Picture opaque = picture();
    button->titleLabel()->setAlpha(0.2f);
    Picture faded = picture();
    EXPECT_GT(brightness(opaque.meanColor(button->frame())),
              brightness(faded.meanColor(button->frame())) + 0.02);
}

TEST_F(ScreenRenderer, AnAnimatingViewIsDrawnWhereItIsAtThePicturesMoment) {
    auto panel = UIView::withFrame(CGRectMake(320, 100, 320, 200));
    panel->setBackgroundColor(UIColor::blackColor());
    window->addSubview(panel);
    UIView::beginAnimationsContext();
    UIView::setAnimationDuration(0.3);
    panel->setFrame(CGRectMake(0, 100, 320, 200));
    UIView::commitAnimations();

    CGRect leftHalf = CGRectMake(10, 150, 140, 100);
    CGRect rightHalf = CGRectMake(170, 150, 140, 100);
    Picture hidden = picture();
    runFor(0.15);
    Picture midway = picture();
    runFor(0.2);
    Picture shown = picture();

    EXPECT_GT(brightness(hidden.meanColor(leftHalf)), 0.95);
    EXPECT_GT(brightness(hidden.meanColor(rightHalf)), 0.95);
    EXPECT_GT(brightness(midway.meanColor(leftHalf)), 0.95);
    EXPECT_LT(brightness(midway.meanColor(rightHalf)), 0.05);
    EXPECT_LT(brightness(shown.meanColor(leftHalf)), 0.05);
    EXPECT_LT(brightness(shown.meanColor(rightHalf)), 0.05);
}

TEST_F(ScreenRenderer, ALabelDrawsItsShadowOnTheSideItsOffsetSays) {
    auto label = UIView::withFrame<UILabel>(CGRectMake(10, 100, 300, 40));
    label->setBackgroundColor(UIColor::grayColor());
    label->setText(std::string("Time: 01:15.4"));
    label->setFont(UIFont::boldSystemFontOfSize(20));
    label->setTextColor(UIColor::whiteColor());
    window->addSubview(label);
    CGRect area = label->frame();

    Picture none = picture();
    label->setShadowColor(UIColor::blackColor());
    label->setShadowOffset(CGSizeMake(0, -0.9f));
    Picture up = picture();
    label->setShadowOffset(CGSizeMake(0, 1));
    Picture down = picture();

    EXPECT_GT(differingPixels(none, up, area), 100);
    EXPECT_GT(differingPixels(up, down, area), 100);
    EXPECT_LT(brightness(up.meanColor(area)), brightness(none.meanColor(area)));
}

TEST_F(ScreenRenderer, ASelectedCellShowsTheSelectionUnderItsHighlightedLabels) {
    auto cell = UITableViewCell::withStyle(UITableViewCellStyleDefault, std::string("row"));
    cell->setFrame(CGRectMake(0, 100, 320, 70));
    cell->setSelectionStyle(UITableViewCellSelectionStyleGray);
    cell->setBackgroundColor(UIColor::whiteColor());
    auto label = UIView::withFrame<UILabel>(CGRectMake(10, 20, 300, 30));
    label->setBackgroundColor(UIColor::clearColor());
    label->setText(std::string("Time: 01:15.4"));
    label->setTextColor(UIColor::blackColor());
    label->setHighlightedTextColor(UIColor::whiteColor());
    cell->addSubview(label);
    window->addSubview(cell);

    Picture plain = picture();
    cell->setSelected(true);
    Picture selected = picture();
    CGRect row = cell->frame();
    EXPECT_GT(brightness(plain.meanColor(row)), brightness(selected.meanColor(row)) + 0.2);
    EXPECT_GT(differingPixels(plain, selected, CGRectMake(10, 120, 300, 30)), 1000);
}

TEST_F(ScreenRenderer, ACellInEditingModeShowsItsControlsAndItsDeleteButton) {
    auto cell = UITableViewCell::withStyle(UITableViewCellStyleDefault, std::string("row"));
    cell->setFrame(CGRectMake(0, 100, 320, 70));
    cell->setBackgroundColor(UIColor::whiteColor());
    window->addSubview(cell);
    CGRect minus = CGRectMake(12, 128, 16, 14);
    CGRect right = CGRectMake(250, 120, 60, 30);

    Picture plain = picture();
    cell->setEditingControls(UITableViewCellEditingStyleDelete, true);
    Picture editing = picture();
    cell->setShowingDeleteConfirmation(true);
    Picture confirming = picture();

    Rgba control = editing.meanColor(minus);
    EXPECT_GT(control.red, control.green + 0.3) << "a red minus";
    EXPECT_GT(differingPixels(plain, editing, right), 50) << "the reorder grabber";
    Rgba button = confirming.meanColor(right);
    EXPECT_GT(button.red, button.green + 0.3) << "a red Delete button";
}

TEST_F(ScreenRenderer, AnAlertDimsTheScreenBehindIt) {
    Picture before = picture();
    auto alert = UIAlertView::withTitle(std::string("New Section"), std::string("Name the section"), nullptr,
                                        std::string("Cancel"), {"Add"});
    alert->setAlertViewStyle(UIAlertViewStylePlainTextInput);
    alert->textFieldAtIndex(0)->setPlaceholder(std::string("Section name"));
    alert->show();
    runFor(0.5);
    Picture after = picture();

    CGRect corner = CGRectMake(5, 500, 10, 40);
    EXPECT_GT(brightness(before.meanColor(corner)), 0.95);
    EXPECT_NEAR(brightness(after.meanColor(corner)), 0.55, 0.05);
    // The status bar is not dimmed.
    EXPECT_EQ(differingPixels(before, after, CGRectMake(0, 0, 320, 20)), 0);
    // The alert's box is in front.
    Rgba box = after.meanColor(CGRectMake(100, 60, 120, 10));
    EXPECT_GT(box.blue, box.red + 0.1);
}

// The leftmost column (in pixels) holding the text cursor's blue, and how many of its pixels;
// -1 when none shows.
std::pair<int, int> cursorColumn(const Picture& picture) {
    int left = -1;
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            Rgba p = picture.pixel(x, y);
            if (p.blue > 0.85 && p.red < 0.35 && p.green < 0.5) {
                left = left < 0 ? x : std::min(left, x);
                ++count;
            }
        }
    }
    return {left, count};
}

TEST_F(ScreenRenderer, AnAlertsFieldShowsItsCursorAfterItsText) {
    auto alert = UIAlertView::withTitle(std::string("New Section"), std::string("Name the section"), nullptr,
                                        std::string("Cancel"), {"Add"});
    alert->setAlertViewStyle(UIAlertViewStylePlainTextInput);
    alert->textFieldAtIndex(0)->setPlaceholder(std::string("Section name"));
    EXPECT_EQ(cursorColumn(picture()).first, -1) << "no field, no cursor";
    alert->show();
    runFor(0.5);
    auto [emptyAt, emptyPixels] = cursorColumn(picture());
    ASSERT_GE(emptyAt, 0) << "an empty field shows its cursor before the placeholder";
    EXPECT_GE(emptyPixels, 2 * 16) << "a line two pixels wide and most of the field high";
    alert->textFieldAtIndex(0)->setText(std::string("Work"));
    auto [typedAt, typedPixels] = cursorColumn(picture());
    EXPECT_GT(typedAt, emptyAt + 2 * 25) << "after the text, which is wider than 25 points";
    EXPECT_EQ(typedPixels, emptyPixels);
}

TEST_F(ScreenRenderer, SvgOutputIsWellFormedAndPngOutputReadsBack) {
    auto label = UIView::withFrame<UILabel>(CGRectMake(10, 100, 300, 40));
    label->setText(std::string("Runs, \"fast\" <&> ÄÖÜ"));
    window->addSubview(label);
    testing_support::TemporaryDirectory folder;

    std::string svg = folder.path() + "/screen.SVG";
    ASSERT_EQ(render::writePicture(scene(), svg), "");
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_file(svg.c_str());
    ASSERT_TRUE(parsed) << parsed.description();
    EXPECT_STREQ(document.document_element().name(), "svg");
    EXPECT_STREQ(document.document_element().attribute("viewBox").value(), "0 0 640 1136");

    std::string png = folder.path() + "/screen.png";
    ASSERT_EQ(render::writePicture(scene(), png), "");
    auto read = Picture::readPng(png, 2);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->width(), 640);
    EXPECT_EQ(differingPixels(*read, picture(), CGRectMake(0, 0, 320, 568)), 0);

    EXPECT_NE(render::writePicture(scene(), folder.path() + "/missing/screen.png"), "");
}

} // namespace
