#include "platform/runtime/Runtime.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/runtime/TypeEncoding.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace {

const rt::Msg<std::string()> speakMessage{"speak"};
const rt::Msg<int()> legsMessage{"legs"};
constexpr rt::IvarRef<id> nameIvar{"_name"};
constexpr rt::IvarRef<int> legsIvar{"_legs"};
constexpr rt::IvarRef<bool> isHappyIvar{"_isHappy"};
constexpr rt::IvarRef<double> weightIvar{"_weight"};

// A small hierarchy that mirrors how hosts declare classes: variables in the runtime, methods
// reached by selector.
class Animal : public NSObject {
  public:
    static constexpr const char* kClassName = "Animal";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b) {
        b.ivar(nameIvar).ivar(legsIvar).method<&Animal::speak>(speakMessage);
        b.method<&Animal::legs>(legsMessage);
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
    static void describe(rt::ClassBuilder& b) { b.ivar(isHappyIvar).ivar(weightIvar); }
    std::string speak() override { return "woof"; }
};

// Classes that declare an instance variable a second time: in their own list, or one their
// superclass has already.
class TwiceDeclared : public NSObject {
  public:
    static constexpr const char* kClassName = "TwiceDeclared";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b) { b.ivar(legsIvar).ivar(weightIvar).ivar(legsIvar); }
};

class Puppy : public Dog {
  public:
    static constexpr const char* kClassName = "Puppy";
    using Super = Dog;
    static void describe(rt::ClassBuilder& b) { b.ivar(nameIvar); }
};

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
    EXPECT_STREQ(ivar_getName(happy), "_isHappy");
    EXPECT_STREQ(ivar_getName(name), "_name") << "found through the superclass";
    EXPECT_EQ(ivar_getName(nullptr), nullptr);
    // Variables follow the isa word, never overlap, and respect alignment.
    EXPECT_GE(ivar_getOffset(name), std::ptrdiff_t(sizeof(void*)));
    EXPECT_GE(ivar_getOffset(legsVar), ivar_getOffset(name) + std::ptrdiff_t(sizeof(id)));
    EXPECT_GT(ivar_getOffset(happy), ivar_getOffset(legsVar));
    EXPECT_EQ(ivar_getOffset(weight) % 8, 0);

    *reinterpret_cast<int*>(dog->ivarBase() + ivar_getOffset(legsVar)) = 4;
    dog->ivarBase()[ivar_getOffset(happy)] = std::byte{1};
    EXPECT_EQ(rt::send(dog, legsMessage), 4);

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
    EXPECT_EQ(rt::send(dog, speakMessage), "woof");
    EXPECT_EQ(rt::send(id{}, speakMessage), "");
    EXPECT_EQ(rt::send(id{}, legsMessage), 0);
    EXPECT_TRUE(rt::respondsToSelector(dog, sel_registerName("speak")));
    EXPECT_FALSE(rt::respondsToSelector(dog, sel_registerName("fly")));
}

// Every scalar type an instance variable may have, between two one-byte variables: it starts at
// a multiple of its C++ alignment and takes exactly its C++ size, so neither neighbour overlaps it.
template <class T>
void checkLaidOutBetweenBytes(const char* className) {
    rt::ClassBuilder builder(className, nullptr);
    builder.ivar(rt::IvarRef<char>{"_before"})
        .ivar(rt::IvarRef<T>{"_value"})
        .ivar(rt::IvarRef<char>{"_after"});
    Class cls = rt::Runtime::current().registerClass(builder);
    const std::ptrdiff_t before = ivar_getOffset(class_getInstanceVariable(cls, "_before"));
    const std::ptrdiff_t value = ivar_getOffset(class_getInstanceVariable(cls, "_value"));
    const std::ptrdiff_t after = ivar_getOffset(class_getInstanceVariable(cls, "_after"));
    EXPECT_EQ(before, std::ptrdiff_t(sizeof(void*))) << className << ": after the isa word";
    EXPECT_EQ(value % std::ptrdiff_t(alignof(T)), 0) << className;
    EXPECT_GT(value, before) << className;
    EXPECT_LT(value - before - 1, std::ptrdiff_t(alignof(T)))
        << className << ": no more padding than alignment needs";
    EXPECT_EQ(after, value + std::ptrdiff_t(sizeof(T))) << className;
}

TEST_F(RuntimeTest, EveryScalarTypeTakesItsSizeAtItsAlignment) {
    checkLaidOutBetweenBytes<bool>("HoldsBool");
    checkLaidOutBetweenBytes<unsigned char>("HoldsUnsignedChar");
    checkLaidOutBetweenBytes<short>("HoldsShort");
    checkLaidOutBetweenBytes<unsigned short>("HoldsUnsignedShort");
    checkLaidOutBetweenBytes<int>("HoldsInt");
    checkLaidOutBetweenBytes<unsigned int>("HoldsUnsignedInt");
    checkLaidOutBetweenBytes<float>("HoldsFloat");
    checkLaidOutBetweenBytes<double>("HoldsDouble");
    checkLaidOutBetweenBytes<long long>("HoldsLongLong");
    checkLaidOutBetweenBytes<unsigned long long>("HoldsUnsignedLongLong");
    checkLaidOutBetweenBytes<id>("HoldsObject");
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
        // Both signatures as C++ writes them, not as the compiler mangles them.
        EXPECT_NE(e.reason().find("but was called as int ()"), std::string::npos) << e.reason();
    }
}

// An implementation called directly for nil, or for an object of another kind, is a fault that
// names the receiver, not a crash.
TEST_F(RuntimeTest, AnImplementationCalledForTheWrongReceiverIsAFaultNamingIt) {
    rt::make<Dog>();
    const SEL sel = sel_registerName("speak");
    IMP imp = class_getMethodImplementation(objc_getClass("Dog"), sel);
    ASSERT_TRUE(imp);
    for (const auto& [receiver, name] : {std::pair<id, std::string>{nullptr, "nil"},
                                         std::pair<id, std::string>{rt::make<NSObject>(), "NSObject"}}) {
        try {
            (void)rt::callImp<std::string()>(imp, receiver, sel);
            ADD_FAILURE() << "expected a fault for " << name;
        } catch (const NSException& e) {
            EXPECT_EQ(e.name(), NSInvalidArgumentException);
            EXPECT_EQ(e.reason().rfind(
                          "-[" + name + " speak]: method of Animal sent to an object of another kind", 0),
                      0u)
                << e.reason();
        }
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
    EXPECT_EQ(rt::send(rt::make<Dog>(), speakMessage), "WOOF");
    EXPECT_EQ(rt::send(rt::make<Animal>(), speakMessage), "...");
}

TEST_F(RuntimeTest, ReplaceMethodReturnsNilWhenItAddsAnOverride) {
    rt::make<Dog>();
    SEL sel = sel_registerName("speak");
    IMP quiet = rt::imp<std::string()>([](const id&, SEL) { return std::string("shh"); });
    EXPECT_EQ(class_replaceMethod(objc_getClass("Dog"), sel, quiet, "@@:"), nullptr);
    IMP previous = class_replaceMethod(objc_getClass("Dog"), sel, quiet, "@@:");
    EXPECT_EQ(previous, quiet);
}

TEST_F(RuntimeTest, ReplacingWithoutAClassOrASelectorChangesNothing) {
    rt::make<Dog>();
    IMP quiet = rt::imp<std::string()>([](const id&, SEL) { return std::string("shh"); });
    EXPECT_EQ(class_replaceMethod(nullptr, sel_registerName("speak"), quiet, "@@:"), nullptr);
    EXPECT_EQ(class_replaceMethod(objc_getClass("Dog"), SEL{}, quiet, "@@:"), nullptr);
    EXPECT_EQ(rt::send(rt::make<Dog>(), speakMessage), "woof");
}

TEST_F(RuntimeTest, AnInstanceVariableDeclaredTwiceIsRefused) {
    for (const auto& [make, text] :
         {std::pair<std::function<void()>, std::string>{
              [] { rt::make<TwiceDeclared>(); },
              "class TwiceDeclared declares instance variable _legs twice"},
          std::pair<std::function<void()>, std::string>{
              [] { rt::make<Puppy>(); }, "class Puppy declares instance variable _name twice"}}) {
        try {
            make();
            ADD_FAILURE() << "expected a refusal: " << text;
        } catch (const NSException& e) {
            EXPECT_EQ(e.name(), NSInternalInconsistencyException);
            EXPECT_EQ(e.reason(), text);
        }
    }
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

namespace {

enum class Style : int { Plain = 0 };

// The encodings the phone gives these signatures; a wrong derivation would make a delayed message
// or an action misdeliver its arguments.
static_assert(std::string_view(rt::encodingOf<void()>()) == "v@:");
static_assert(std::string_view(rt::encodingOf<void(bool)>()) == "v@:c");
static_assert(std::string_view(rt::encodingOf<void(bool, bool)>()) == "v@:cc");
static_assert(std::string_view(rt::encodingOf<void(id)>()) == "v@:@");
static_assert(std::string_view(rt::encodingOf<void(const id&)>()) == "v@:@");
static_assert(std::string_view(rt::encodingOf<std::shared_ptr<NSObject>()>()) == "@@:");
static_assert(std::string_view(rt::encodingOf<double()>()) == "d@:");
static_assert(std::string_view(rt::encodingOf<float(int, unsigned)>()) == "f@:iI");
static_assert(std::string_view(rt::encodingOf<void(Style, std::optional<std::string>)>()) == "v@:i@");
static_assert(std::string_view(rt::ivarEncodingOf<id>()) == "@");
static_assert(std::string_view(rt::IvarRef<std::shared_ptr<NSObject>>::types()) == "@");
static_assert(std::string_view(rt::IvarRef<bool>::types()) == "c");

TEST_F(RuntimeTest, RegisteredMethodsCarryTheEncodingTheirMessageDerives) {
    rt::make<Dog>();
    Class animal = objc_getClass("Animal");
    EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(animal, speakMessage.sel())), "@@:");
    EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(animal, legsMessage.sel())), "i@:");
    EXPECT_STREQ(ivar_getTypeEncoding(class_getInstanceVariable(animal, "_legs")), "i");
    EXPECT_STREQ(ivar_getTypeEncoding(class_getInstanceVariable(objc_getClass("Dog"), "_weight")), "d");

    const rt::Msg<int(int)> twice{"twice:"};
    EXPECT_TRUE(rt::addMethod(animal, twice, [](const id&, SEL, int n) { return 2 * n; }));
    EXPECT_STREQ(method_getTypeEncoding(class_getInstanceMethod(animal, twice.sel())), "i@:i");
    EXPECT_EQ(rt::send(rt::make<Dog>(), twice, 21), 42);
    EXPECT_FALSE(rt::addMethod(animal, twice, [](const id&, SEL, int n) { return n; }));
}

TEST_F(RuntimeTest, TypedVariablesReadThroughTheClassTableAndRefuseAnotherKind) {
    auto dog = rt::make<Dog>();
    legsIvar.set(dog, 4);
    isHappyIvar.set(dog, true);
    weightIvar.set(dog, 12.5);
    nameIvar.set(dog, dog);
    EXPECT_EQ(rt::send(dog, legsMessage), 4);
    EXPECT_TRUE(isHappyIvar.get(dog));
    EXPECT_EQ(weightIvar.get(dog), 12.5);
    EXPECT_EQ(nameIvar.get(dog), dog);
    EXPECT_EQ(object_getIvar(dog, class_getInstanceVariable(object_getClass(dog), "_name")), dog);
    nameIvar.set(dog, nullptr); // breaks the cycle

    // A variable read as another kind, or one the class lacks, reads as zero and is never written.
    EXPECT_EQ((rt::IvarRef<id>{"_legs"}.get(dog)), nullptr);
    EXPECT_FALSE((rt::IvarRef<bool>{"_name"}.get(dog)));
    EXPECT_EQ((rt::IvarRef<double>{"_legs"}.get(dog)), 0.0);
    auto animal = rt::make<Animal>();
    EXPECT_FALSE(isHappyIvar.get(animal));
    isHappyIvar.set(animal, true);
    EXPECT_FALSE(isHappyIvar.get(animal));
    EXPECT_EQ(legsIvar.get(id{}), 0);
    EXPECT_EQ(object_getIvar(dog, class_getInstanceVariable(object_getClass(dog), "_legs")), nullptr);
}

// A class with no instance variables of its own or inherited.
class Pebble : public NSObject {
  public:
    static constexpr const char* kClassName = "Pebble";
    using Super = NSObject;
};

// rt::make remembers the class it found per runtime; runtimes come and go in one process (each
// test has its own), and a new one may stand at the address of one destroyed, so each runtime's
// objects must get that runtime's class.
TEST(Runtime, ObjectsGetTheClassOfTheRuntimeCurrentWhenMade) {
    std::optional<rt::Runtime> first;
    first.emplace();
    Class firstDog = nullptr;
    {
        rt::Runtime::Scope scope(*first);
        firstDog = object_getClass(rt::make<Dog>());
        EXPECT_EQ(object_getClass(rt::make<Dog>()), firstDog);
    }
    rt::Runtime second;
    {
        rt::Runtime::Scope scope(second);
        const id dog = rt::make<Dog>();
        EXPECT_EQ(object_getClass(dog), objc_getClass("Dog"));
        EXPECT_NE(object_getClass(dog), firstDog);
        EXPECT_EQ(class_getSuperclass(object_getClass(dog)), objc_getClass("Animal"));
    }
    const std::uint64_t firstSerial = first->serial();
    first.reset();
    first.emplace(); // very likely at the same address
    EXPECT_NE(first->serial(), firstSerial);
    rt::Runtime::Scope scope(*first);
    EXPECT_EQ(objc_getClass("Dog"), nullptr);
    const id dog = rt::make<Dog>();
    EXPECT_EQ(object_getClass(dog), objc_getClass("Dog"));
    EXPECT_NE(objc_getClass("Dog"), nullptr);
}

TEST_F(RuntimeTest, AnObjectWithoutVariablesHasNoBlockAndAnswersNoVariable) {
    const id pebble = rt::make<Pebble>();
    EXPECT_EQ(pebble->ivarBase(), nullptr);
    EXPECT_EQ(object_getIvar(pebble, class_getInstanceVariable(objc_getClass("Animal"), "_name")), nullptr);
    EXPECT_EQ(nameIvar.get(pebble), nullptr);
    EXPECT_EQ(legsIvar.get(pebble), 0);
    nameIvar.set(pebble, pebble); // answers nothing and stores nothing
    EXPECT_EQ(nameIvar.get(pebble), nullptr);
    // A class with variables still gets its block, object variables constructed empty.
    const id dog = rt::make<Dog>();
    ASSERT_NE(dog->ivarBase(), nullptr);
    EXPECT_EQ(nameIvar.get(dog), nullptr);
    nameIvar.set(dog, pebble);
    EXPECT_EQ(nameIvar.get(dog), pebble);
}

} // namespace
