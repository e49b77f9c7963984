#include "hosts/springboard/SpringBoard.h"

#include "platform/runtime/RuntimeFunctions.h"
#include "tests/support/DeviceFixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::DeviceTest;

class SpringBoardTest : public DeviceTest {
  protected:
    std::shared_ptr<SpringBoard> board =
        SpringBoard::withApplications({"com.apple.mobiletimer", "com.apple.mobilesafari"});
};

TEST_F(SpringBoardTest, TheRecordsAnswerTheSystemsLaunchImage) {
    EXPECT_EQ(board->launchImageNameFor("com.apple.mobilesafari"), "Default.png");
    EXPECT_EQ(board->lastLaunchImageName(), "Default.png");
    EXPECT_EQ(board->launchImageNameFor("com.example.absent"), std::nullopt);
}

TEST_F(SpringBoardTest, TheBundleIdentifierIsAnInstanceVariableReadableByName) {
    id record = board->applicationWithBundleIdentifier("com.apple.mobiletimer");
    Ivar ivar = class_getInstanceVariable(object_getClass(record), "_bundleIdentifier");
    ASSERT_NE(ivar, nullptr);
    EXPECT_STREQ(ivar_getTypeEncoding(ivar), "@");
    auto identifier = rt::cast<NSString>(object_getIvar(record, ivar));
    ASSERT_NE(identifier, nullptr);
    EXPECT_EQ(identifier->str(), "com.apple.mobiletimer");
}

TEST_F(SpringBoardTest, LaunchingAsksTheRecordThroughTheRuntime) {
    // Replaced as a hooking library does: the record's own method gets a new implementation.
    Method method =
        class_getInstanceMethod(objc_getClass("SBApplication"), sel_registerName("_currentDefaultPNGName"));
    ASSERT_NE(method, nullptr);
    IMP original;
    original = method_setImplementation(
        method, rt::imp<std::shared_ptr<NSString>()>([&original](const id& self, SEL cmd) {
            auto own = rt::callImp<std::shared_ptr<NSString>()>(original, self, cmd);
            return NSString::with("hooked-" + own->str());
        }));
    ASSERT_TRUE(original);
    EXPECT_EQ(board->launchImageNameFor("com.apple.mobiletimer"), "hooked-Default.png");
}

} // namespace
