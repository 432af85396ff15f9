#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/runtime/ObjCRuntime.h"

// Typed method tables: a member function becomes an implementation whose argument and result
// conversions follow from its signature, so a class registers each selector on one line:
//
//     platform::registerClass<KVCorvaleCreditCell, PSTableCell>("KVCorvaleCreditCell", {
//         {"buttonTapped:", platform::bind<&KVCorvaleCreditCell::buttonTapped>()},
//         {"name", platform::bind<&KVCorvaleCreditCell::name>()},
//     });
//
// Parameters may be objects (std::shared_ptr<U>: an argument that is not a U arrives as nullptr),
// Value, MessageValue, bool, integers, enumerations, floating-point numbers, std::string or
// std::string_view; a missing
// argument converts as nil does. Results may be any of those, std::optional of one (nullopt is nil),
// or void (an empty result).
namespace platform {

namespace binding {

template <class T> struct IsSharedPointer : std::false_type {};
template <class T> struct IsSharedPointer<std::shared_ptr<T>> : std::true_type {};

template <class T> struct IsOptional : std::false_type {};
template <class T> struct IsOptional<std::optional<T>> : std::true_type {};

template <class> inline constexpr bool unsupported = false;

template <class Parameter> auto convertArgument(const MessageValue& argument) {
    using Type = std::remove_cvref_t<Parameter>;
    if constexpr (std::is_same_v<Type, MessageValue>)
        return argument;
    else if constexpr (std::is_same_v<Type, Value>)
        return argument.value();
    else if constexpr (IsSharedPointer<Type>::value)
        return argument.objectAs<std::remove_const_t<typename Type::element_type>>();
    else if constexpr (std::is_same_v<Type, bool>)
        return argument.value().boolValue();
    else if constexpr (std::is_enum_v<Type> || std::is_integral_v<Type>)
        return static_cast<Type>(argument.value().integerValue());
    else if constexpr (std::is_floating_point_v<Type>)
        return static_cast<Type>(argument.value().doubleValue());
    else if constexpr (std::is_same_v<Type, std::string> || std::is_same_v<Type, std::string_view>)
        return argument.value().stringValue(); // outlives the call it is an argument of
    else
        static_assert(unsupported<Type>, "no conversion from a message argument to this parameter type");
}

template <class Result> MessageValue convertResult(Result&& result) {
    using Type = std::remove_cvref_t<Result>;
    if constexpr (IsOptional<Type>::value)
        return result ? convertResult(*std::forward<Result>(result)) : MessageValue();
    else if constexpr (std::is_enum_v<Type>)
        return MessageValue(static_cast<std::int64_t>(result));
    else
        return MessageValue(std::forward<Result>(result));
}

// What a pointer to a member or free function takes and gives.
template <class Function> struct Signature;

template <class R, class T, class... A> struct Signature<R (T::*)(A...)> {
    using Receiver = T;
    static constexpr std::size_t arity = sizeof...(A);
};
template <class R, class T, class... A> struct Signature<R (T::*)(A...) const> : Signature<R (T::*)(A...)> {};
template <class R, class T, class... A>
struct Signature<R (T::*)(A...) noexcept> : Signature<R (T::*)(A...)> {};
template <class R, class T, class... A>
struct Signature<R (T::*)(A...) const noexcept> : Signature<R (T::*)(A...)> {};

template <class R, class... A> struct Signature<R (*)(A...)> {
    using Receiver = void;
    static constexpr std::size_t arity = sizeof...(A);
};
template <class R, class... A> struct Signature<R (*)(A...) noexcept> : Signature<R (*)(A...)> {};

template <class Function> struct Parameters;
template <class R, class T, class... A> struct Parameters<R (T::*)(A...)> {
    template <std::size_t I> using At = std::tuple_element_t<I, std::tuple<A...>>;
};
template <class R, class T, class... A>
struct Parameters<R (T::*)(A...) const> : Parameters<R (T::*)(A...)> {};
template <class R, class T, class... A>
struct Parameters<R (T::*)(A...) noexcept> : Parameters<R (T::*)(A...)> {};
template <class R, class T, class... A>
struct Parameters<R (T::*)(A...) const noexcept> : Parameters<R (T::*)(A...)> {};
template <class R, class... A> struct Parameters<R (*)(A...)> {
    template <std::size_t I> using At = std::tuple_element_t<I, std::tuple<A...>>;
};
template <class R, class... A> struct Parameters<R (*)(A...) noexcept> : Parameters<R (*)(A...)> {};

template <auto Function, std::size_t I>
using ParameterAt = typename Parameters<decltype(Function)>::template At<I>;

// Calls the function with the receiver (when it is a member) and the converted arguments.
template <auto Function, class... Receiver, std::size_t... I>
MessageValue call([[maybe_unused]] const MessageArguments& arguments, std::index_sequence<I...>,
                  Receiver&... receiver) {
    auto invoke = [&] {
        return std::invoke(Function, receiver...,
                           convertArgument<ParameterAt<Function, I>>(platform::argument(arguments, I))...);
    };
    if constexpr (std::is_void_v<decltype(invoke())>) {
        invoke();
        return {};
    } else {
        return convertResult(invoke());
    }
}

} // namespace binding

// An implementation of an instance method of Receiver (or of its subclasses).
template <class Receiver> struct BoundMethod {
    IMP implementation;
};

// An implementation that ignores its receiver: a class method.
struct BoundFunction {
    IMP implementation;
};

// The implementation of a member function (an instance method: a receiver that is not of the member's
// class gets an empty result) or of a free or static function (a class method).
template <auto Function> auto bind() {
    using Signature = binding::Signature<decltype(Function)>;
    using Indices = std::make_index_sequence<Signature::arity>;
    if constexpr (std::is_void_v<typename Signature::Receiver>) {
        return BoundFunction{[](const id&, const MessageArguments& arguments) -> MessageValue {
            return binding::call<Function>(arguments, Indices{});
        }};
    } else {
        using Receiver = typename Signature::Receiver;
        return BoundMethod<Receiver>{[](const id& self, const MessageArguments& arguments) -> MessageValue {
            auto receiver = std::dynamic_pointer_cast<Receiver>(self);
            if (!receiver)
                return {};
            return binding::call<Function>(arguments, Indices{}, *receiver);
        }};
    }
}

// One line of a class's method table; the member must belong to T or to one of its bases.
template <class T> struct MethodEntry {
    template <class Receiver>
    requires std::is_base_of_v<Receiver, T>
    MethodEntry(std::string_view selector, BoundMethod<Receiver> method, const char* types = "")
        : selector(selector), implementation(std::move(method.implementation)), types(types) {}

    std::string_view selector;
    IMP implementation;
    const char* types;
};

struct ClassMethodEntry {
    ClassMethodEntry(std::string_view selector, BoundFunction function)
        : selector(selector), implementation(std::move(function.implementation)) {}

    std::string_view selector;
    IMP implementation;
};

// Adds each method to cls, as class_addMethod does (a selector cls already has is left as it is).
template <class T> void addMethods(Class cls, std::initializer_list<MethodEntry<T>> methods) {
    for (const auto& method : methods)
        class_addMethod(cls, method.selector, method.implementation, method.types);
}

// Registers T (see registerClass) with its method table.
template <class T, class Base = NSObject>
Class registerClass(std::string_view name, std::initializer_list<MethodEntry<T>> methods) {
    Class cls = registerClass<T, Base>(name);
    addMethods<T>(cls, methods);
    return cls;
}

template <class T, class Base = NSObject> Class registerClass(std::initializer_list<MethodEntry<T>> methods) {
    Class cls = registerClass<T, Base>();
    addMethods<T>(cls, methods);
    return cls;
}

inline void addClassMethods(Class cls, std::initializer_list<ClassMethodEntry> methods) {
    for (const auto& method : methods)
        class_addClassMethod(cls, method.selector, method.implementation);
}

} // namespace platform
