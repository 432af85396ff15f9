#include "platform/foundation/NSDictionary.h"

#include "platform/foundation/PropertyList.h"

using platform::PropertyList;

std::optional<Value> NSDictionary::dictionaryWithContentsOfFile(std::string_view devicePath,
                                                                NSErrorPtr* error) {
    auto value = PropertyList::readFile(devicePath, error);
    if (value && !value->isDictionary()) {
        reportError(error, NSCocoaErrorDomain, PropertyList::readCorruptError,
                    "The property list in \"" + std::string(devicePath) + "\" is not a dictionary.");
        return std::nullopt;
    }
    return value;
}

bool NSDictionary::writeToFile(const Value& dictionary, std::string_view devicePath, bool /*atomically*/,
                               NSErrorPtr* error) {
    if (!dictionary.isDictionary()) {
        reportError(error, NSCocoaErrorDomain, PropertyList::writeInvalidError,
                    "The value is not a dictionary.");
        return false;
    }
    return PropertyList::writeFile(devicePath, dictionary, error);
}
