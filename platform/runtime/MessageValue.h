#pragma once

#include <concepts>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/foundation/Value.h"

class NSObject;
using id = std::shared_ptr<NSObject>;

// An argument or the result of a message: property-list data (a Value), an object, or nothing.
// Numbers, strings and the other Value types convert implicitly, so an implementation can simply
// `return true;` or `return someController;`.
class MessageValue {
public:
    MessageValue() = default;

    template <class T>
    requires std::constructible_from<Value, T&&> MessageValue(T&& value) : m_value(std::forward<T>(value)) {}

    template <class T>
    requires std::convertible_to<T*, NSObject*> MessageValue(std::shared_ptr<T> object)
        : m_object(std::move(object)) {}

    bool isObject() const { return m_object != nullptr; }
    // Neither an object nor any data: what a void method or a message to nil gives back.
    bool isNil() const { return !m_object && m_value.isNull(); }

    // The data; the null Value when this carries an object or nothing.
    const Value& value() const { return m_value; }
    const id& object() const { return m_object; }
    template <class T> std::shared_ptr<T> objectAs() const { return std::dynamic_pointer_cast<T>(m_object); }

private:
    Value m_value;
    id m_object;
};

using MessageArguments = std::vector<MessageValue>;

namespace platform {

// The argument at index, or an empty MessageValue when the sender passed fewer: implementations read
// their arguments through this so a short argument list is never out-of-bounds access.
inline const MessageValue& argument(const MessageArguments& arguments, std::size_t index) {
    static const MessageValue nothing;
    return index < arguments.size() ? arguments[index] : nothing;
}

} // namespace platform
