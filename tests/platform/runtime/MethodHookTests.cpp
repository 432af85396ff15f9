#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "platform/foundation/NSLog.h"
#include "platform/runtime/NSObject.h"

namespace {

class HKBase : public NSObject {};
class HKDerived : public HKBase {};

struct HookClasses {
    Class base;
    Class derived;
};

// Every test gets classes of its own: the registry lives as long as the process.
HookClasses makeClasses(const std::string& prefix) {
    Class base = objc_allocateClassPair(platform::registerClass<HKBase>("HKBase"), prefix + "Base");
    Class derived = objc_allocateClassPair(base, prefix + "Derived");
    objc_registerClassPair(base);
    objc_registerClassPair(derived);
    return {base, derived};
}

IMP returning(std::string text) {
    return [text](const id&, const MessageArguments&) -> MessageValue { return text; };
}

// A replacement that wraps whatever it replaced: "<tag>(<previous result>)".
IMP wrapping(std::string tag, const IMP* previous) {
    return [tag, previous](const id& self, const MessageArguments& arguments) -> MessageValue {
        std::string inner = *previous ? (*previous)(self, arguments).value().stringValue() : "EMPTY";
        return tag + "(" + inner + ")";
    };
}

std::string send(Class cls, const char* selector, const MessageArguments& arguments = {}) {
    return objc_msgSend(class_createInstance(cls), selector, arguments).value().stringValue();
}

} // namespace

TEST(MethodHook, ReplacementsCallThePreviousImplementationAndChain) {
    auto classes = makeClasses("HKChain");
    class_addMethod(classes.base,
                    "titleFor:", [](const id&, const MessageArguments& arguments) -> MessageValue {
                        return "title " + platform::argument(arguments, 0).value().stringValue();
                    });

    IMP first;
    MSHookMessageEx(classes.base, "titleFor:", wrapping("first", &first), &first);
    EXPECT_EQ(send(classes.base, "titleFor:", {"x"}), "first(title x)");

    IMP second;
    MSHookMessageEx(classes.base, "titleFor:", wrapping("second", &second), &second);
    EXPECT_EQ(send(classes.base, "titleFor:", {"y"}), "second(first(title y))");
    EXPECT_EQ(send(classes.derived, "titleFor:", {"z"}), "second(first(title z))")
        << "subclasses inherit hooks";
}

TEST(MethodHook, HookingAnInheritedMethodLeavesTheSuperclassAlone) {
    auto classes = makeClasses("HKInherit");
    class_addMethod(classes.base, "name", returning("base"));

    IMP derivedPrevious;
    MSHookMessageEx(classes.derived, "name", wrapping("derived", &derivedPrevious), &derivedPrevious);
    EXPECT_EQ(send(classes.derived, "name"), "derived(base)");
    EXPECT_EQ(send(classes.base, "name"), "base");

    // What the subclass hook saved forwards to the superclass at call time, so a later hook there
    // is part of the chain, as with the method-substitution framework.
    IMP basePrevious;
    MSHookMessageEx(classes.base, "name", wrapping("baseHook", &basePrevious), &basePrevious);
    EXPECT_EQ(send(classes.base, "name"), "baseHook(base)");
    EXPECT_EQ(send(classes.derived, "name"), "derived(baseHook(base))");
}

TEST(MethodHook, HookingWhatNobodyImplementsInstallsNothing) {
    auto classes = makeClasses("HKMissing");
    platform::LogCapture log;
    IMP previous = returning("stale");
    MSHookMessageEx(classes.derived, "missing", returning("hook"), &previous);
    EXPECT_FALSE(previous);
    EXPECT_FALSE(class_respondsToSelector(classes.derived, "missing"));
    EXPECT_TRUE(log.contains("missing"));

    MSHookMessageEx(nullptr, "missing", returning("hook"), &previous);
    MSHookMessageEx(classes.base, "missing", nullptr, nullptr);
    EXPECT_EQ(log.lines().size(), 3u);
}

TEST(MethodHook, AnImplementationMayInstallAHookOnItsOwnSelector) {
    // The implementation runs outside the registry lock, and the hook it installs must be usable at once.
    auto classes = makeClasses("HKReentrant");
    static IMP previous;
    class_addMethod(classes.base, "ping",
                    [cls = classes.base](const id& self, const MessageArguments&) -> MessageValue {
                        if (previous)
                            return "original";
                        MSHookMessageEx(cls, "ping", wrapping("hooked", &previous), &previous);
                        return "first:" + objc_msgSend(self, "ping").value().stringValue();
                    });
    EXPECT_EQ(send(classes.base, "ping"), "first:hooked(original)");
    EXPECT_EQ(send(classes.base, "ping"), "hooked(original)");
}

TEST(MethodHook, AReplacementEnteredOnAnotherThreadDuringInstallationFindsItsPreviousSlotFilled) {
    // The sender keeps sending across the installation; whichever send first reaches the replacement
    // must find the saved implementation. Under ThreadSanitizer a slot written after the replacement
    // became reachable is also reported as a race.
    auto classes = makeClasses("HKRace");
    class_addMethod(classes.base, "tick", returning("original"));
    id object = class_createInstance(classes.derived);

    IMP previous;
    std::atomic<bool> sent{false};
    std::atomic<bool> replacementRan{false};
    std::atomic<bool> foundEmptySlot{false};
    std::atomic<int> wrongResults{0};
    std::thread sender([&] {
        while (!replacementRan.load()) {
            auto result = objc_msgSend(object, "tick").value().stringValue();
            if (result != "original" && result != "replaced(original)")
                ++wrongResults;
            if (!sent.exchange(true))
                sent.notify_one();
        }
    });
    sent.wait(false);
    MSHookMessageEx(
        classes.derived, "tick",
        [&](const id& self, const MessageArguments& arguments) -> MessageValue {
            if (!previous)
                foundEmptySlot = true;
            auto inner = previous ? previous(self, arguments).value().stringValue() : "";
            replacementRan = true;
            return "replaced(" + inner + ")";
        },
        &previous);
    sender.join();
    EXPECT_FALSE(foundEmptySlot.load());
    EXPECT_EQ(wrongResults.load(), 0);
}
