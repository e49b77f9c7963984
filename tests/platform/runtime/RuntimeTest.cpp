#include "platform/runtime/Runtime.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/RuntimeFunctions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A small hierarchy that mirrors how hosts declare classes: variables in the runtime, methods
// reached by selector.
class Animal : public NSObject {
  public:
    static constexpr const char* kClassName = "Animal";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b) {
        b.ivar("_name", "@").ivar("_legs", "i").method<&Animal::speak>("speak", "@@:");
        b.method<&Animal::legs>("legs", "i@:");
    }
    virtual std::string speak() { return "..."; }
    int legs() {
        return *reinterpret_cast<int*>(ivarBase() +
                                       ivar_getOffset(class_getInstanceVariable(isa(), "_legs")));
    }
};

class Dog : public Animal {
  public:
    static constexpr const char* kClassName = "Dog";
    using Super = Animal;
    static void describe(rt::ClassBuilder& b) { b.ivar("_isHappy", "c").ivar("_weight", "d"); }
    std::string speak() override { return "woof"; }
};

const rt::Msg<std::string()> speak{"speak"};
const rt::Msg<int()> legs{"legs"};

class RuntimeTest : public ::testing::Test {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
};

TEST_F(RuntimeTest, ClassesAreFoundByNameOnlyOnceRegistered) {
    EXPECT_EQ(objc_getClass("Dog"), nullptr);
    auto dog = rt::make<Dog>();
    Class cls = objc_getClass("Dog");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(object_getClass(dog), cls);
    EXPECT_EQ(class_getSuperclass(cls), objc_getClass("Animal"));
    EXPECT_EQ(objc_getClass("Cat"), nullptr);
    EXPECT_EQ(object_getClass(id{}), nullptr);
}

TEST_F(RuntimeTest, InstanceVariablesHaveRealOffsetsThroughTheSuperclassChain) {
    auto dog = rt::make<Dog>();
    Class cls = object_getClass(dog);
    Ivar name = class_getInstanceVariable(cls, "_name");
    Ivar legsVar = class_getInstanceVariable(cls, "_legs");
    Ivar happy = class_getInstanceVariable(cls, "_isHappy");
    Ivar weight = class_getInstanceVariable(cls, "_weight");
    ASSERT_TRUE(name && legsVar && happy && weight);
    EXPECT_EQ(class_getInstanceVariable(cls, "_missing"), nullptr);
    // Variables follow the isa word, never overlap, and respect alignment.
    EXPECT_GE(ivar_getOffset(name), std::ptrdiff_t(sizeof(void*)));
    EXPECT_GE(ivar_getOffset(legsVar), ivar_getOffset(name) + std::ptrdiff_t(sizeof(id)));
    EXPECT_GT(ivar_getOffset(happy), ivar_getOffset(legsVar));
    EXPECT_EQ(ivar_getOffset(weight) % 8, 0);

    *reinterpret_cast<int*>(dog->ivarBase() + ivar_getOffset(legsVar)) = 4;
    dog->ivarBase()[ivar_getOffset(happy)] = std::byte{1};
    EXPECT_EQ(rt::send(dog, legs), 4);

    auto other = rt::make<Dog>();
    object_setIvar(dog, name, other);
    EXPECT_EQ(object_getIvar(dog, name), other);
    // A scalar variable never reads as an object.
    EXPECT_EQ(object_getIvar(dog, happy), nullptr);
}

TEST_F(RuntimeTest, AVariableOfAnotherClassIsNeverReadFromAnObject) {
    auto animal = rt::make<Animal>();
    auto dog = rt::make<Dog>();
    Ivar weight = class_getInstanceVariable(object_getClass(dog), "_weight");
    EXPECT_EQ(class_getInstanceVariable(object_getClass(animal), "_weight"), nullptr);
    EXPECT_EQ(object_getIvar(animal, weight), nullptr);
}

TEST_F(RuntimeTest, MessagesLookUpThroughSuperclassesAndNilAnswersZero) {
    auto dog = rt::make<Dog>();
    EXPECT_EQ(rt::send(dog, speak), "woof");
    EXPECT_EQ(rt::send(id{}, speak), "");
    EXPECT_EQ(rt::send(id{}, legs), 0);
    EXPECT_TRUE(rt::respondsToSelector(dog, sel_registerName("speak")));
    EXPECT_FALSE(rt::respondsToSelector(dog, sel_registerName("fly")));
}

TEST_F(RuntimeTest, AnUnrecognizedSelectorRaisesWithThePlatformsMessage) {
    auto dog = rt::make<Dog>();
    try {
        rt::send(dog, rt::Msg<void()>{"fly"});
        FAIL() << "expected an exception";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), NSInvalidArgumentException);
        EXPECT_NE(e.reason().find("-[Dog fly]: unrecognized selector sent to instance"), std::string::npos);
    }
}

TEST_F(RuntimeTest, CallingAnImplementationWithTheWrongSignatureIsAFaultNamingClassAndSelector) {
    auto dog = rt::make<Dog>();
    try {
        rt::send(dog, rt::Msg<int()>{"speak"});
        FAIL() << "expected an exception";
    } catch (const NSException& e) {
        EXPECT_NE(e.reason().find("-[Dog speak]"), std::string::npos);
    }
}

TEST_F(RuntimeTest, AddMethodRefusesASelectorTheClassItselfHasButOverridesAnInheritedOne) {
    rt::make<Dog>();
    Class dogClass = objc_getClass("Dog");
    Class animalClass = objc_getClass("Animal");
    SEL sel = sel_registerName("speak");
    IMP loud = rt::imp<std::string()>([](const id&, SEL) { return std::string("WOOF"); });
    EXPECT_TRUE(class_addMethod(dogClass, sel, loud, "@@:"));
    EXPECT_FALSE(class_addMethod(dogClass, sel, loud, "@@:"));
    EXPECT_FALSE(class_addMethod(animalClass, sel, loud, "@@:"));
    EXPECT_FALSE(class_addMethod(nullptr, sel, loud, "@@:"));
    EXPECT_EQ(rt::send(rt::make<Dog>(), speak), "WOOF");
    EXPECT_EQ(rt::send(rt::make<Animal>(), speak), "...");
}

TEST_F(RuntimeTest, ReplaceMethodReturnsNilWhenItAddsAnOverride) {
    rt::make<Dog>();
    SEL sel = sel_registerName("speak");
    IMP quiet = rt::imp<std::string()>([](const id&, SEL) { return std::string("shh"); });
    EXPECT_EQ(class_replaceMethod(objc_getClass("Dog"), sel, quiet, "@@:"), nullptr);
    IMP previous = class_replaceMethod(objc_getClass("Dog"), sel, quiet, "@@:");
    EXPECT_EQ(previous, quiet);
}

TEST_F(RuntimeTest, ObjectVariablesAreReleasedWithTheirObject) {
    std::weak_ptr<NSObject> watched;
    {
        auto dog = rt::make<Dog>();
        auto friendDog = rt::make<Dog>();
        watched = friendDog;
        object_setIvar(dog, class_getInstanceVariable(object_getClass(dog), "_name"), friendDog);
    }
    EXPECT_TRUE(watched.expired());
}

} // namespace
