#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/MethodBinding.h"
#include "platform/runtime/NSObject.h"

namespace {

enum class MBMood { calm = 2, cross = 5 };

class MBToy : public NSObject {
public:
    static constexpr platform::RegisteredName<MBToy> registeredName{"MBToy"};
    std::string label = "toy";
};
class MBBall : public MBToy {};

class MBBox : public NSObject {
public:
    static constexpr platform::RegisteredName<MBBox> registeredName{"MBBox"};

    void store(const std::shared_ptr<MBToy>& toy, bool locked, int count, double weight, std::string note) {
        stored = toy;
        this->locked = locked;
        this->count = count;
        this->weight = weight;
        this->note = std::move(note);
    }
    void setMood(MBMood mood) { this->mood = mood; }
    void keep(const Value& value) { kept = value; }
    std::size_t measure(std::string_view text) const { return text.size(); }

    const std::shared_ptr<MBToy>& toy() const { return stored; }
    std::string describe() const { return note + " x" + std::to_string(count); }
    MBMood currentMood() const { return mood; }
    std::optional<std::string> nickname() const { return nick; }
    Value keptValue() const { return kept; }
    double doubled(double value) const { return value * 2; }

    static std::shared_ptr<MBBox> make(std::string note) {
        auto box = std::make_shared<MBBox>();
        box->note = std::move(note);
        return box;
    }

    std::shared_ptr<MBToy> stored;
    bool locked = false;
    int count = 0;
    double weight = 0;
    std::string note;
    MBMood mood = MBMood::calm;
    std::optional<std::string> nick;
    Value kept;
};

class MBCrate : public MBBox {
public:
    int lid() const { return 7; }
};

Class boxClass() {
    static const Class cls = [] {
        Class box = platform::registerClass<MBBox>();
        using platform::bind;
        platform::addMethods<MBBox>(box, {
            {"store:locked:count:weight:note:", bind<&MBBox::store>()},
            {"setMood:", bind<&MBBox::setMood>()},
            {"keep:", bind<&MBBox::keep>()},
            {"measure:", bind<&MBBox::measure>()},
            {"toy", bind<&MBBox::toy>()},
            {"describe", bind<&MBBox::describe>()},
            {"currentMood", bind<&MBBox::currentMood>()},
            {"nickname", bind<&MBBox::nickname>()},
            {"keptValue", bind<&MBBox::keptValue>(), "@@:"},
            {"doubled:", bind<&MBBox::doubled>()},
        });
        platform::addClassMethods(box, {{"boxWithNote:", bind<&MBBox::make>()}});
        return box;
    }();
    return cls;
}

} // namespace

TEST(MethodBinding, ArgumentsConvertToTheMembersParameterTypes) {
    boxClass();
    auto box = std::make_shared<MBBox>();
    auto ball = std::make_shared<MBBall>();
    objc_msgSend(box, "store:locked:count:weight:note:",
                 {MessageValue(ball), Value(true), Value(std::int64_t{41}), Value(2.5), Value("fragile")});
    EXPECT_EQ(box->stored, ball) << "an object of a subclass passes as the parameter's class";
    EXPECT_TRUE(box->locked);
    EXPECT_EQ(box->count, 41);
    EXPECT_DOUBLE_EQ(box->weight, 2.5);
    EXPECT_EQ(box->note, "fragile");

    objc_msgSend(box, "setMood:", {Value(5)});
    EXPECT_EQ(box->mood, MBMood::cross);
    objc_msgSend(box, "keep:", {Value::array({1, "two"})});
    EXPECT_EQ(box->kept, Value::array({1, "two"}));
    EXPECT_EQ(objc_msgSend(box, "measure:", {Value("four")}).value(), Value(4));
    EXPECT_DOUBLE_EQ(objc_msgSend(box, "doubled:", {Value(3)}).value().doubleValue(), 6.0)
        << "an integer argument is read as a number";
}

TEST(MethodBinding, ArgumentsOfTheWrongKindOrMissingArriveAsNothing) {
    boxClass();
    auto box = std::make_shared<MBBox>();
    box->stored = std::make_shared<MBToy>();
    objc_msgSend(box, "store:locked:count:weight:note:", {MessageValue(std::make_shared<NSObject>())});
    EXPECT_EQ(box->stored, nullptr) << "an object that is not the parameter's class is nil";
    EXPECT_FALSE(box->locked);
    EXPECT_EQ(box->count, 0);
    EXPECT_EQ(box->note, "");

    box->kept = Value(1);
    objc_msgSend(box, "keep:");
    EXPECT_TRUE(box->kept.isNull());
}

TEST(MethodBinding, ResultsConvertBack) {
    boxClass();
    auto box = std::make_shared<MBBox>();
    auto toy = std::make_shared<MBToy>();
    box->stored = toy;
    box->note = "gift";
    box->count = 3;
    box->mood = MBMood::cross;
    EXPECT_EQ(objc_msgSend(box, "toy").object(), toy);
    EXPECT_EQ(objc_msgSend(box, "describe").value(), Value("gift x3"));
    EXPECT_EQ(objc_msgSend(box, "currentMood").value(), Value(5));
    EXPECT_TRUE(objc_msgSend(box, "nickname").isNil());
    box->nick = "bin";
    EXPECT_EQ(objc_msgSend(box, "nickname").value(), Value("bin"));
    box->kept = Value::dictionary({{"k", 1}});
    EXPECT_EQ(objc_msgSend(box, "keptValue").value(), Value::dictionary({{"k", 1}}));
    EXPECT_TRUE(objc_msgSend(box, "setMood:", {Value(2)}).isNil()) << "a void member gives an empty result";
}

TEST(MethodBinding, StaticMembersBecomeClassMethods) {
    Class box = boxClass();
    auto made = objc_msgSendClass(box, "boxWithNote:", {Value("new")}).objectAs<MBBox>();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->note, "new");
}

TEST(MethodBinding, AReceiverOfAnotherClassGetsAnEmptyResult) {
    boxClass();
    auto imp = platform::bind<&MBBox::describe>().implementation;
    EXPECT_TRUE(imp(std::make_shared<MBToy>(), {}).isNil());
    EXPECT_TRUE(imp(nullptr, {}).isNil());
}

TEST(MethodBinding, AnInheritedMemberServesASubclassTable) {
    Class box = boxClass();
    Class crate = platform::registerClass<MBCrate, MBBox>("MBCrate");
    EXPECT_EQ(class_getSuperclass(crate), box) << "the superclass comes from the C++ base's registered name";
    platform::addMethods<MBCrate>(crate, {
        {"lid", platform::bind<&MBCrate::lid>()},
        {"describeCrate", platform::bind<&MBBox::describe>()},
    });
    auto instance = class_createInstance(crate);
    ASSERT_NE(std::dynamic_pointer_cast<MBCrate>(instance), nullptr);
    std::dynamic_pointer_cast<MBCrate>(instance)->note = "crate";
    EXPECT_EQ(objc_msgSend(instance, "lid").value(), Value(7));
    EXPECT_EQ(objc_msgSend(instance, "describeCrate").value(), Value("crate x0"));
    EXPECT_EQ(objc_msgSend(instance, "describe").value(), Value("crate x0")) << "inherited from MBBox's table";
}

TEST(MethodBinding, AClassTableKeepsMethodsTheClassAlreadyHas) {
    Class box = boxClass();
    platform::addMethods<MBBox>(box, {{"describe", platform::bind<&MBBox::toy>()}});
    auto instance = std::make_shared<MBBox>();
    instance->note = "kept";
    EXPECT_EQ(objc_msgSend(instance, "describe").value(), Value("kept x0"));
}

// Only registered classes name superclasses: a C++ base that does not declare its own name (MBBall
// inherits MBToy's) does not count.
static_assert(platform::RegisteredClass<NSObject>);
static_assert(platform::RegisteredClass<MBToy>);
static_assert(!platform::RegisteredClass<MBBall>);
