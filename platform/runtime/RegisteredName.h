#pragma once

#include <concepts>
#include <string_view>
#include <type_traits>

namespace platform {

// The class name a C++ type is registered under, declared on the type itself so that a subclass's
// registration can name its superclass from the C++ base rather than from a string:
//
//     static constexpr platform::RegisteredName<UIView> registeredName{"UIView"};
//
// The type parameter is the declaring class, so a subclass that does not declare its own name does
// not pass for registered by inheriting its base's.
template <class T> struct RegisteredName {
    std::string_view name;
};

template <class T>
concept RegisteredClass = requires { T::registeredName; } &&
                          std::same_as<std::remove_cv_t<decltype(T::registeredName)>, RegisteredName<T>>;

} // namespace platform
