#include "platform/substrate/MSHookMessageEx.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/RuntimeFunctions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>* journal = nullptr;

const rt::Msg<std::string(std::string)> greetMessage{"greet:"};
const rt::Msg<void()> touchMessage{"touch"};

class Base : public NSObject {
  public:
    static constexpr const char* kClassName = "HookBase";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b) {
        b.method<&Base::greet>(greetMessage);
        b.method<&Base::touch>(touchMessage);
    }
    std::string greet(std::string who) { return "hello " + who; }
    void touch() { journal->push_back("base touch"); }
};

class Derived : public Base {
  public:
    static constexpr const char* kClassName = "HookDerived";
    using Super = Base;
};

class MSHookMessageExTest : public ::testing::Test {
  protected:
    void SetUp() override { journal = &log; }
    std::vector<std::string> log;
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
};

TEST_F(MSHookMessageExTest, StoresTheReplacedImplementationAndInstallsTheReplacement) {
    rt::make<Base>();
    IMP original;
    IMP* slot = &original;
    MSHookMessageEx(objc_getClass("HookBase"), sel_registerName("greet:"),
                    rt::imp<std::string(std::string)>([slot](const id& self, SEL sel, std::string who) {
                        return "[" + rt::callImp<std::string(std::string)>(*slot, self, sel, who) + "]";
                    }),
                    &original);
    ASSERT_TRUE(original);
    EXPECT_EQ(rt::send(rt::make<Base>(), greetMessage, std::string("you")), "[hello you]");
}

TEST_F(MSHookMessageExTest, AnInheritedSelectorGetsAnOverrideOnTheSubclassOnly) {
    rt::make<Derived>();
    IMP original;
    MSHookMessageEx(objc_getClass("HookDerived"), sel_registerName("touch"),
                    rt::imp<void()>([&original](const id& self, SEL sel) {
                        journal->push_back("hook");
                        rt::callImp<void()>(original, self, sel);
                    }),
                    &original);
    rt::send(rt::make<Derived>(), touchMessage);
    rt::send(rt::make<Base>(), touchMessage);
    EXPECT_EQ(log, (std::vector<std::string>{"hook", "base touch", "base touch"}));
}

TEST_F(MSHookMessageExTest, TheStoredTrampolineReachesAHookInstalledLaterOnTheSuperclass) {
    rt::make<Derived>();
    IMP derivedOriginal;
    IMP baseOriginal;
    MSHookMessageEx(objc_getClass("HookDerived"), sel_registerName("touch"),
                    rt::imp<void()>([&](const id& self, SEL sel) {
                        journal->push_back("derived hook");
                        rt::callImp<void()>(derivedOriginal, self, sel);
                    }),
                    &derivedOriginal);
    MSHookMessageEx(objc_getClass("HookBase"), sel_registerName("touch"),
                    rt::imp<void()>([&](const id& self, SEL sel) {
                        journal->push_back("base hook");
                        rt::callImp<void()>(baseOriginal, self, sel);
                    }),
                    &baseOriginal);
    rt::send(rt::make<Derived>(), touchMessage);
    EXPECT_EQ(log, (std::vector<std::string>{"derived hook", "base hook", "base touch"}));
}

TEST_F(MSHookMessageExTest, ANilClassOrAMissingSelectorChangesNothingAndLeavesTheSlotEmpty) {
    rt::make<Base>();
    IMP slot;
    IMP replacement = rt::imp<void()>([](const id&, SEL) {});
    MSHookMessageEx(nullptr, sel_registerName("touch"), replacement, &slot);
    EXPECT_FALSE(slot);
    MSHookMessageEx(objc_getClass("HookBase"), sel_registerName("nothingHere"), replacement, &slot);
    EXPECT_FALSE(slot);
    EXPECT_FALSE(class_respondsToSelector(objc_getClass("HookBase"), sel_registerName("nothingHere")));
}

TEST_F(MSHookMessageExTest, CallingAnEmptySlotIsACrashNotSilence) {
    IMP empty;
    EXPECT_THROW(rt::callImp<void()>(empty, rt::make<Base>(), sel_registerName("touch")), NSException);
}

} // namespace
