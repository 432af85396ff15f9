#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/NSLog.h"
#include "platform/runtime/NSObject.h"

namespace {

class RTAnimal : public NSObject {
public:
    std::string name = "animal";
};
class RTDog : public RTAnimal {};
class RTPuppy : public RTDog {}; // never registered
class RTAbstractThing : public NSObject {
public:
    virtual int size() const = 0;
};

Class animalClass() {
    return platform::registerClass<RTAnimal>("RTAnimal");
}
Class dogClass() {
    animalClass();
    return platform::registerClassNamed<RTDog>("RTDog", "RTAnimal");
}

IMP returning(Value value) {
    return [value](const id&, const MessageArguments&) -> MessageValue { return value; };
}

} // namespace

TEST(ObjCRuntime, ClassesAreFoundByNameAndByTheirObjects) {
    EXPECT_EQ(objc_getClass("RTNoSuchClass"), nullptr);
    EXPECT_EQ(objc_getClass(""), nullptr);
    Class root = objc_getClass("NSObject");
    ASSERT_NE(root, nullptr);
    EXPECT_STREQ(class_getName(root), "NSObject");
    EXPECT_EQ(class_getSuperclass(root), nullptr);

    Class dog = dogClass();
    EXPECT_EQ(platform::registerClassNamed<RTDog>("RTDog", "RTAnimal"), dog)
        << "registering twice keeps the class";
    EXPECT_EQ(objc_getClass("RTDog"), dog);
    EXPECT_EQ(class_getSuperclass(dog), objc_getClass("RTAnimal"));
    EXPECT_EQ(class_getSuperclass(objc_getClass("RTAnimal")), root);

    id made = class_createInstance(dog);
    ASSERT_NE(made, nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<RTDog>(made), nullptr);
    EXPECT_EQ(object_getClass(made), dog);
    EXPECT_EQ(object_getClass(std::make_shared<RTDog>()), dog);
    EXPECT_EQ(object_getClass(std::make_shared<RTAnimal>()), objc_getClass("RTAnimal"));
    EXPECT_EQ(object_getClass(std::make_shared<NSObject>()), root);
    EXPECT_EQ(object_getClass(nullptr), nullptr);

    // An unregistered C++ subclass answers with its nearest registered base, not NSObject.
    auto puppy = std::make_shared<RTPuppy>();
    EXPECT_EQ(puppy->getClass(), dog);
    EXPECT_TRUE(puppy->isKindOfClass(objc_getClass("RTAnimal")));
    EXPECT_TRUE(puppy->isKindOfClass(root));
    EXPECT_FALSE(std::make_shared<RTAnimal>()->isKindOfClass(dog));
    EXPECT_EQ(puppy->selfAs<RTAnimal>(), puppy);
    EXPECT_EQ(puppy->selfAs<RTAbstractThing>(), nullptr);
    EXPECT_EQ(RTDog().selfAs<RTDog>(), nullptr) << "not owned by a shared_ptr";
    EXPECT_NE(puppy->description().find("<RTDog: 0x"), std::string::npos);
}

TEST(ObjCRuntime, ASubclassMayBeRegisteredBeforeItsSuperclass) {
    struct LateBase : NSObject {};
    struct EarlyChild : LateBase {};
    Class child = platform::registerClassNamed<EarlyChild>("RTEarlyChild", "RTLateBase");
    EXPECT_EQ(objc_getClass("RTLateBase"), nullptr);
    EXPECT_FALSE(class_isSubclassOfClass(child, objc_getClass("NSObject")));

    Class base = platform::registerClass<LateBase>("RTLateBase");
    EXPECT_EQ(class_getSuperclass(child), base);
    EXPECT_TRUE(class_isSubclassOfClass(child, objc_getClass("NSObject")));
    ASSERT_TRUE(class_addMethod(base, "baseMethod", returning(7)));
    EXPECT_EQ(objc_msgSend(class_createInstance(child), "baseMethod").value().integerValue(), 7);
}

TEST(ObjCRuntime, AbstractClassesAreInstantiatedThroughTheirNearestConcreteAncestor) {
    Class abstract = platform::registerClass<RTAbstractThing>("RTAbstractThing");
    id thing = class_createInstance(abstract);
    ASSERT_NE(thing, nullptr);
    EXPECT_EQ(thing->getClass(), abstract);
    EXPECT_EQ(class_createInstance(nullptr), nullptr);
}

TEST(ObjCRuntime, MessagesRunTheNearestImplementationWithTheirArguments) {
    Class animal = animalClass();
    Class dog = dogClass();
    ASSERT_TRUE(class_addMethod(animal, "speak", returning("...")));
    ASSERT_TRUE(
        class_addMethod(animal, "describe:with:",
                        platform::methodImplementation<RTAnimal>([](const std::shared_ptr<RTAnimal>& self,
                                                                    const MessageArguments& arguments) {
                            return self->name + " " + platform::argument(arguments, 0).value().stringValue() +
                                   " " + platform::argument(arguments, 1).value().stringValue();
                        })));
    EXPECT_FALSE(class_addMethod(animal, "speak", returning("again"))) << "a class keeps its own method";
    EXPECT_TRUE(class_addMethod(dog, "speak", returning("woof"))) << "a subclass may override";
    EXPECT_FALSE(class_addMethod(dog, "", returning(1)));
    EXPECT_FALSE(class_addMethod(nullptr, "speak", returning(1)));

    auto rex = std::make_shared<RTDog>();
    rex->name = "rex";
    EXPECT_EQ(objc_msgSend(rex, "speak").value().asString(), "woof");
    EXPECT_EQ(objc_msgSend(std::make_shared<RTAnimal>(), "speak").value().asString(), "...");
    EXPECT_EQ(objc_msgSendSuper(animal, rex, "speak").value().asString(), "...");
    EXPECT_EQ(objc_msgSend(rex, "describe:with:", {"sits", 3}).value().asString(), "rex sits 3");
    EXPECT_EQ(objc_msgSend(rex, "describe:with:").value().asString(), "rex  ") << "missing arguments are nil";
    EXPECT_TRUE(rex->respondsToSelector("describe:with:"));
    EXPECT_FALSE(rex->respondsToSelector("describe:"));
    EXPECT_TRUE(class_getMethodImplementation(dog, "describe:with:").has_value());
    EXPECT_FALSE(class_getMethodImplementation(dog, "fly").has_value());

    // An implementation written for another C++ type ignores receivers that are not of it.
    Class root = objc_getClass("NSObject");
    class_addMethod(
        root, "rtAnimalName",
        platform::methodImplementation<RTAnimal>(
            [](const std::shared_ptr<RTAnimal>& self, const MessageArguments&) { return self->name; }));
    EXPECT_EQ(objc_msgSend(rex, "rtAnimalName").value().asString(), "rex");
    EXPECT_TRUE(objc_msgSend(std::make_shared<NSObject>(), "rtAnimalName").isNil());

    auto replaced = class_replaceMethod(dog, "speak", returning("grr"));
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced(rex, {}).value().asString(), "woof");
    EXPECT_EQ(objc_msgSend(rex, "speak").value().asString(), "grr");
}

TEST(ObjCRuntime, MessageValuesCarryDataOrObjects) {
    MessageValue nothing;
    EXPECT_TRUE(nothing.isNil());
    MessageValue number = 3;
    EXPECT_FALSE(number.isNil());
    EXPECT_FALSE(number.isObject());
    EXPECT_EQ(number.value().integerValue(), 3);
    EXPECT_EQ(number.object(), nullptr);

    auto dog = std::make_shared<RTDog>();
    MessageValue object = dog;
    EXPECT_TRUE(object.isObject());
    EXPECT_TRUE(object.value().isNull());
    EXPECT_EQ(object.objectAs<RTAnimal>(), dog);
    EXPECT_EQ(object.objectAs<RTAbstractThing>(), nullptr);
    EXPECT_TRUE(platform::argument({}, 2).isNil());
}

TEST(ObjCRuntime, UnrecognizedSelectorsAndThrowingImplementationsAreLoggedNotFatal) {
    Class animal = animalClass();
    class_addMethod(animal, "rtThrows", [](const id&, const MessageArguments&) -> MessageValue {
        throw std::runtime_error("boom");
    });
    auto animalObject = std::make_shared<RTAnimal>();
    platform::LogCapture log;

    EXPECT_TRUE(objc_msgSend(animalObject, "flyTo:").isNil());
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("-[RTAnimal flyTo:]: unrecognized selector sent to instance 0x", 0), 0u)
        << log.lines()[0];

    EXPECT_TRUE(objc_msgSend(nullptr, "flyTo:").isNil());
    EXPECT_EQ(log.lines().size(), 1u) << "messages to nil are silent";

    EXPECT_TRUE(objc_msgSend(animalObject, "rtThrows").isNil());
    ASSERT_EQ(log.lines().size(), 2u);
    EXPECT_TRUE(log.contains("boom"));
}

TEST(ObjCRuntime, RuntimeOnlyClassesMakeInstancesOfTheirNativeAncestor) {
    Class animal = animalClass();
    class_addMethod(animal, "legs", returning(4));
    Class board = objc_allocateClassPair(animal, "RTSpringBoard");
    ASSERT_NE(board, nullptr);
    EXPECT_EQ(objc_getClass("RTSpringBoard"), nullptr) << "not findable before it is registered";
    ASSERT_TRUE(class_addMethod(
        board,
        "applicationDidFinishLaunching:", [](const id&, const MessageArguments& arguments) -> MessageValue {
            return "launched " + platform::argument(arguments, 0).value().stringValue();
        }));
    objc_registerClassPair(board);
    EXPECT_EQ(objc_getClass("RTSpringBoard"), board);
    EXPECT_EQ(objc_allocateClassPair(animal, "RTSpringBoard"), nullptr) << "the name is taken";
    EXPECT_EQ(objc_allocateClassPair(animal, "RTAnimal"), nullptr);
    EXPECT_EQ(objc_allocateClassPair(animal, ""), nullptr);

    id springBoard = class_createInstance(board);
    ASSERT_NE(springBoard, nullptr);
    EXPECT_NE(std::dynamic_pointer_cast<RTAnimal>(springBoard), nullptr);
    EXPECT_EQ(object_getClass(springBoard), board);
    EXPECT_STREQ(object_getClassName(springBoard), "RTSpringBoard");
    EXPECT_TRUE(springBoard->isKindOfClass(animal));
    EXPECT_EQ(objc_msgSend(springBoard, "applicationDidFinishLaunching:", {"now"}).value().asString(),
              "launched now");
    EXPECT_EQ(objc_msgSend(springBoard, "legs").value().integerValue(), 4);
    EXPECT_FALSE(std::make_shared<RTAnimal>()->respondsToSelector("applicationDidFinishLaunching:"));
}

TEST(ObjCRuntime, RegistrationAndSendsFromManyThreadsAgree) {
    Class animal = animalClass();
    class_addMethod(animal, "rtCount", returning(1));
    struct RTThreadedA : RTAnimal {};
    struct RTThreadedB : RTThreadedA {};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 4; ++thread) {
        threads.emplace_back([&, thread] {
            for (int round = 0; round < 200; ++round) {
                if (thread == 0 && round == 50)
                    platform::registerClassNamed<RTThreadedA>("RTThreadedA", "RTAnimal");
                if (thread == 1)
                    class_addMethod(animal, "rtSelector" + std::to_string(round), returning(round));
                // Before RTThreadedA is registered the object reports RTAnimal, afterwards RTThreadedA.
                auto object = std::make_shared<RTThreadedB>();
                if (objc_msgSend(object, "rtCount").value().integerValue() != 1 ||
                    !object->isKindOfClass(animal))
                    ++wrong;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(std::make_shared<RTThreadedB>()->getClass(), objc_getClass("RTThreadedA"))
        << "a registration must invalidate what unregistered types resolved to";
}

TEST(ObjCRuntime, AClassNeverBecomesItsOwnAncestor) {
    struct LoopA : NSObject {};
    struct LoopB : NSObject {};
    Class first = platform::registerClassNamed<LoopA>("RTLoopA", "RTLoopB");
    Class second = platform::registerClassNamed<LoopB>("RTLoopB", "RTLoopA");
    EXPECT_EQ(class_getSuperclass(first), second);
    EXPECT_EQ(class_getSuperclass(second), nullptr);
    EXPECT_FALSE(class_isSubclassOfClass(second, first));

    // A placeholder superclass defined at run time under one of its own subclasses.
    Class waiting = platform::registerClassNamed<LoopA>("RTLoopC", "RTLoopPending");
    EXPECT_EQ(objc_allocateClassPair(waiting, "RTLoopPending"), nullptr);
    Class pending = objc_allocateClassPair(objc_getClass("NSObject"), "RTLoopPending");
    ASSERT_NE(pending, nullptr);
    objc_registerClassPair(pending);
    EXPECT_EQ(class_getSuperclass(waiting), pending);
}

TEST(ObjCRuntime, ClassMethodsInheritAndStayApartFromInstanceMethods) {
    Class dog = dogClass();
    Class animal = animalClass();
    class_addClassMethod(animal, "rtKingdom", returning(Value("Animalia")));
    class_addMethod(animal, "rtKingdom", returning(Value("an instance")));
    class_addClassMethod(animal, "rtEcho",
                         [](const id& self, const MessageArguments& arguments) -> MessageValue {
                             return self ? Value("had a receiver") : platform::argument(arguments, 0).value();
                         });

    EXPECT_EQ(objc_msgSendClass(dog, "rtKingdom").value(), Value("Animalia"));
    EXPECT_EQ(objc_msgSend(std::make_shared<RTDog>(), "rtKingdom").value(), Value("an instance"));
    EXPECT_EQ(objc_msgSendClass(dog, "rtEcho", {Value(7)}).value(), Value(7));
    EXPECT_TRUE(class_respondsToClassSelector(dog, "rtEcho"));
    EXPECT_FALSE(class_respondsToSelector(dog, "rtEcho"));

    platform::LogCapture log;
    EXPECT_TRUE(objc_msgSendClass(nullptr, "rtKingdom").isNil());
    EXPECT_TRUE(log.lines().empty()) << "sends to Nil are silent";
    EXPECT_TRUE(objc_msgSendClass(dog, "rtNothing").isNil());
    EXPECT_TRUE(log.contains("+[RTDog rtNothing]: unrecognized selector sent to class"));
}
