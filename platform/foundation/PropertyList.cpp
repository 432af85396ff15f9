#include "platform/foundation/PropertyList.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <plist/plist.h>
#include <system_error>

#include "platform/foundation/BinaryPropertyListShape.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/PlistTree.h"
#include "platform/foundation/XMLPropertyListScanner.h"

namespace platform {

namespace {

void reportCorrupt(NSErrorPtr* error, std::string_view reason) {
    reportError(error, NSCocoaErrorDomain, PropertyList::readCorruptError,
                "The data couldn't be read because it isn't in the correct format (" + std::string(reason) +
                    ").");
}

// libplist's binary reader recurses once per level and copies a shared object for every reference
// to it, so a binary list is measured before it is read. Without shared collections a list never
// expands to more nodes than it has bytes, one reference taking at least a byte.
bool binaryShapeIsAcceptable(const std::uint8_t* bytes, std::size_t length, NSErrorPtr* error) {
    const std::size_t nodeLimit = std::min(length, PropertyList::maximumNodes);
    auto shape = BinaryPropertyListShape::measure(bytes, length, PropertyList::maximumDepth, nodeLimit);
    if (!shape) {
        reportCorrupt(error, "malformed binary property list");
        return false;
    }
    if (shape->depth > PropertyList::maximumDepth) {
        reportCorrupt(error, "collections nested too deeply");
        return false;
    }
    if (shape->nodes > length) {
        reportCorrupt(error, "shared objects expand too far");
        return false;
    }
    if (shape->nodes > PropertyList::maximumNodes) {
        reportCorrupt(error, "more than " + std::to_string(PropertyList::maximumNodes) + " objects");
        return false;
    }
    return true;
}

bool xmlShapeIsAcceptable(std::string_view text, NSErrorPtr* error) {
    auto shape = XMLPropertyListScanner::measure(text);
    if (shape.depth > PropertyList::maximumDepth) {
        reportCorrupt(error, "collections nested too deeply");
        return false;
    }
    if (shape.nodes > PropertyList::maximumNodes) {
        reportCorrupt(error, "more than " + std::to_string(PropertyList::maximumNodes) + " objects");
        return false;
    }
    if (shape.largestDictionaryKeys > PropertyList::maximumXMLDictionaryKeys) {
        reportCorrupt(error, "a dictionary of more than " + std::to_string(PropertyList::maximumXMLDictionaryKeys) +
                                 " keys");
        return false;
    }
    return true;
}

} // namespace

std::optional<Value> PropertyList::parse(const std::uint8_t* bytes, std::size_t length, NSErrorPtr* error) {
    if (!bytes || length == 0) {
        reportCorrupt(error, "no data");
        return std::nullopt;
    }
    if (length > maximumInputSize) {
        reportCorrupt(error, "larger than " + std::to_string(maximumInputSize) + " bytes");
        return std::nullopt;
    }
    const char* text = reinterpret_cast<const char*>(bytes);
    auto length32 = static_cast<std::uint32_t>(length);
    if (plist_is_binary(text, length32)) {
        if (!binaryShapeIsAcceptable(bytes, length, error))
            return std::nullopt;
    } else if (std::memchr(bytes, 0, length)) {
        // XML has no NUL character, and libplist 2.2 stops on an assertion at a key that holds one.
        reportCorrupt(error, "NUL character in XML");
        return std::nullopt;
    } else if (!xmlShapeIsAcceptable(std::string_view(text, length), error)) {
        return std::nullopt;
    }
    plist_t root = nullptr;
    plist_from_memory(text, length32, &root);
    PlistTree tree(root);
    if (!tree) {
        reportCorrupt(error, "not a property list");
        return std::nullopt;
    }
    auto value = tree.toValue(maximumDepth);
    if (!value)
        reportCorrupt(error, "collections nested too deeply or an unknown kind of object");
    return value;
}

std::optional<Value> PropertyList::parse(std::string_view text, NSErrorPtr* error) {
    return parse(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), error);
}

std::optional<Value> PropertyList::readFile(std::string_view devicePath, NSErrorPtr* error) {
    // Refuse a huge file before reading it into memory.
    std::error_code sizeError;
    auto size = std::filesystem::file_size(DeviceRoot::resolve(devicePath), sizeError);
    if (!sizeError && size > maximumInputSize) {
        reportCorrupt(error, "larger than " + std::to_string(maximumInputSize) + " bytes");
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    if (!platform::readFile(devicePath, bytes, error))
        return std::nullopt;
    return parse(bytes.data(), bytes.size(), error);
}

std::optional<std::string> PropertyList::toXML(const Value& value) {
    auto xml = PlistTree::fromValue(value, maximumDepth).toXML();
    // Only what the reader takes back: a written domain that did not read would be lost.
    if (xml && (xml->size() > maximumInputSize || !xmlShapeIsAcceptable(*xml, nullptr)))
        return std::nullopt;
    return xml;
}

bool PropertyList::writeFile(std::string_view devicePath, const Value& value, NSErrorPtr* error) {
    auto xml = toXML(value);
    if (!xml) {
        reportError(
            error, NSCocoaErrorDomain, writeInvalidError,
            "Property list invalid for format: it holds a null, a NUL character, a date that is not a "
            "number, collections nested deeper than " +
                std::to_string(maximumDepth) + " levels, more than " + std::to_string(maximumNodes) +
                " objects, a dictionary of more than " + std::to_string(maximumXMLDictionaryKeys) +
                " keys, or more than " + std::to_string(maximumInputSize) + " bytes of XML.");
        return false;
    }
    return writeFileAtomically(devicePath, std::vector<std::uint8_t>(xml->begin(), xml->end()), error);
}

} // namespace platform
