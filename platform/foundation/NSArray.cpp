#include "platform/foundation/NSArray.h"

#include "platform/foundation/PropertyList.h"

using platform::PropertyList;

std::optional<Value> NSArray::arrayWithContentsOfFile(std::string_view devicePath, NSErrorPtr* error) {
    auto value = PropertyList::readFile(devicePath, error);
    if (value && !value->isArray()) {
        reportError(error, NSCocoaErrorDomain, PropertyList::readCorruptError,
                    "The property list in \"" + std::string(devicePath) + "\" is not an array.");
        return std::nullopt;
    }
    return value;
}

bool NSArray::writeToFile(const Value& array, std::string_view devicePath, bool /*atomically*/,
                          NSErrorPtr* error) {
    if (!array.isArray()) {
        reportError(error, NSCocoaErrorDomain, PropertyList::writeInvalidError, "The value is not an array.");
        return false;
    }
    return PropertyList::writeFile(devicePath, array, error);
}
