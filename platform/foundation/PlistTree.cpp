#include "platform/foundation/PlistTree.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <plist/plist.h>
#include <utility>
#include <vector>

#include "platform/foundation/PropertyList.h"

namespace platform {

namespace {

// plist_free recurses this deep with a few tens of kilobytes of stack.
constexpr std::size_t pieceHeight = 1024;
static_assert(PropertyList::maximumDepth < pieceHeight, "trees that read in full are freed directly");

bool isCollection(plist_t node) {
    plist_type type = plist_get_node_type(node);
    return type == PLIST_ARRAY || type == PLIST_DICT;
}

// Visits an array's items in order until `visit` returns false. libplist 2.2 finds an item by index
// by walking the array from its start, so only its iterator reads an array in linear time.
template <typename Visit>
bool forEachArrayItem(plist_t array, Visit visit) {
    plist_array_iter iterator = nullptr;
    plist_array_new_iter(array, &iterator);
    bool complete = true;
    while (complete) {
        plist_t item = nullptr;
        plist_array_next_item(array, iterator, &item);
        if (!item)
            break;
        complete = visit(item);
    }
    std::free(iterator);
    return complete;
}

std::vector<plist_t> collectionChildren(plist_t node) {
    std::vector<plist_t> children;
    if (plist_get_node_type(node) == PLIST_ARRAY) {
        forEachArrayItem(node, [&children](plist_t item) {
            if (isCollection(item))
                children.push_back(item);
            return true;
        });
    } else if (plist_get_node_type(node) == PLIST_DICT) {
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        for (plist_t item = nullptr;; item = nullptr) {
            plist_dict_next_item(node, iterator, nullptr, &item);
            if (!item)
                break;
            if (isCollection(item))
                children.push_back(item);
        }
        std::free(iterator);
    }
    return children;
}

// By key for a dictionary's item: keys are unique in the trees that get here, because libplist's XML
// reader replaces a repeated key (binary lists, which may repeat one, are never this deep).
void detachAndFree(plist_t node) {
    plist_t parent = plist_get_parent(node);
    if (plist_get_node_type(parent) == PLIST_ARRAY) {
        plist_array_item_remove(node);
        return;
    }
    char* key = nullptr;
    plist_dict_get_item_key(node, &key);
    if (key)
        plist_dict_remove_item(parent, key);
    std::free(key);
}

// libplist frees a tree recursively, some 50 bytes of stack per level, and its XML reader builds
// trees of any depth without recursing, so a hostile file can hold a tree that plist_free cannot
// free. Walking it with an explicit stack, every piece that reaches `pieceHeight` levels is cut off
// and freed on its own, deepest first, before the rest. Cutting a piece off costs a walk along its
// siblings, so this is slow for a tree both deep and wide. PropertyList refuses deep XML before
// reading it (libplist would fail the same way freeing a deep tree after a syntax error), so this
// is a second line that an ordinary file never reaches.
void releaseTree(plist_t root) {
    struct Frame {
        plist_t node;
        std::vector<plist_t> children;
        std::size_t next = 0;
        std::size_t height = 1;
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{root, collectionChildren(root)});
    while (!stack.empty()) {
        if (stack.back().next < stack.back().children.size()) {
            plist_t child = stack.back().children[stack.back().next++];
            stack.push_back(Frame{child, collectionChildren(child)});
            continue;
        }
        plist_t node = stack.back().node;
        std::size_t height = stack.back().height;
        stack.pop_back();
        if (stack.empty())
            break;
        if (height >= pieceHeight) {
            detachAndFree(node);
            height = 0;
        }
        stack.back().height = std::max(stack.back().height, height + 1);
    }
    plist_free(root);
}

// libplist 2.2 hands a date out as truncated 32-bit seconds plus unsigned microseconds, which loses
// dates outside 1933-2069 and the sign of a fraction before 2001; its binary writer, though, stores
// the exact double it keeps, as the 8 bytes after the date marker of a one-object list.
double readDate(plist_t node) {
    char* binary = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(node, &binary, &length);
    constexpr std::size_t markerOffset = 8;
    double seconds = 0;
    if (binary && length >= markerOffset + 9 && static_cast<std::uint8_t>(binary[markerOffset]) == 0x33) {
        std::uint64_t bits = 0;
        for (std::size_t index = 0; index < 8; ++index)
            bits = (bits << 8) | static_cast<std::uint8_t>(binary[markerOffset + 1 + index]);
        std::memcpy(&seconds, &bits, sizeof seconds);
    } else {
        std::int32_t whole = 0;
        std::int32_t micro = 0;
        plist_get_date_val(node, &whole, &micro);
        seconds = whole < 0 ? whole - micro / 1e6 : whole + micro / 1e6;
    }
    if (binary)
        plist_to_bin_free(binary);
    return seconds;
}

plist_t newDate(double seconds) {
    if (std::isnan(seconds))
        return nullptr;
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    double clamped = std::clamp(seconds, lowest, highest);
    double whole = std::floor(clamped);
    long micro = std::lround((clamped - whole) * 1e6);
    // Rounding up to a whole second cannot pass the top of the range: there the fraction is 0.
    if (micro >= 1000000) {
        micro = 0;
        whole += 1;
    }
    return plist_new_date(static_cast<std::int32_t>(whole), static_cast<std::int32_t>(micro));
}

class ValueReader {
public:
    explicit ValueReader(std::size_t maximumDepth) : m_maximumDepth(maximumDepth) {}

    std::optional<Value> read(plist_t node, std::size_t depth) const {
        switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN:
            return readBool(node);
        case PLIST_UINT:
            return readInteger(node);
        case PLIST_REAL:
            return readReal(node);
        case PLIST_STRING:
            return readString(node);
        case PLIST_DATA:
            return readData(node);
        case PLIST_DATE:
            return Value(Value::Date{readDate(node)});
        case PLIST_UID:
            return readUID(node);
        case PLIST_ARRAY:
            return depth < m_maximumDepth ? readArray(node, depth + 1) : std::nullopt;
        case PLIST_DICT:
            return depth < m_maximumDepth ? readDictionary(node, depth + 1) : std::nullopt;
        default:
            return std::nullopt;
        }
    }

private:
    static Value readBool(plist_t node) {
        std::uint8_t flag = 0;
        plist_get_bool_val(node, &flag);
        return Value(flag != 0);
    }

    // libplist has only unsigned integers: a negative one is kept as its two's complement.
    static Value readInteger(plist_t node) {
        std::uint64_t bits = 0;
        plist_get_uint_val(node, &bits);
        return Value(static_cast<std::int64_t>(bits));
    }

    static Value readReal(plist_t node) {
        double real = 0;
        plist_get_real_val(node, &real);
        return Value(real);
    }

    static Value readString(plist_t node) {
        std::uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return text ? Value(std::string(text, length)) : Value("");
    }

    static Value readData(plist_t node) {
        std::uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        if (!bytes)
            return Value(Value::Data{});
        auto* first = reinterpret_cast<const std::uint8_t*>(bytes);
        return Value(Value::Data(first, first + length));
    }

    static Value readUID(plist_t node) {
        std::uint64_t uid = 0;
        plist_get_uid_val(node, &uid);
        return Value::dictionary({{"CF$UID", Value(static_cast<std::int64_t>(uid))}});
    }

    std::optional<Value> readArray(plist_t node, std::size_t depth) const {
        Value::Array items;
        items.reserve(plist_array_get_size(node));
        bool complete = forEachArrayItem(node, [&](plist_t item) {
            auto value = read(item, depth);
            if (value)
                items.push_back(std::move(*value));
            return value.has_value();
        });
        return complete ? std::optional<Value>(Value(std::move(items))) : std::nullopt;
    }

    std::optional<Value> readDictionary(plist_t node, std::size_t depth) const {
        Value::Dictionary entries;
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        bool complete = true;
        while (complete) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iterator, &key, &item);
            if (!item) {
                std::free(key);
                break;
            }
            auto value = key ? read(item, depth) : std::nullopt;
            if (value)
                entries.insert_or_assign(std::string(key), std::move(*value));
            complete = value.has_value();
            std::free(key);
        }
        std::free(iterator);
        return complete ? std::optional<Value>(Value(std::move(entries))) : std::nullopt;
    }

    std::size_t m_maximumDepth;
};

class TreeBuilder {
public:
    explicit TreeBuilder(std::size_t maximumDepth) : m_maximumDepth(maximumDepth) {}

    // A new node that the caller owns, or nullptr when the value cannot be written.
    plist_t build(const Value& value, std::size_t depth) const {
        switch (value.type()) {
        case Value::Type::Null:
            return nullptr;
        case Value::Type::Bool:
            return plist_new_bool(value.boolValue() ? 1 : 0);
        // Stored as the two's complement, which libplist writes back as the negative number.
        case Value::Type::Integer:
            return plist_new_uint(static_cast<std::uint64_t>(value.integerValue()));
        case Value::Type::Real:
            return plist_new_real(value.doubleValue());
        case Value::Type::String:
            return buildString(value.asString());
        case Value::Type::Data:
            return buildData(value.asData());
        case Value::Type::Date:
            return newDate(value.asDate().secondsSinceReferenceDate);
        case Value::Type::Array:
            return depth < m_maximumDepth ? buildArray(value, depth + 1) : nullptr;
        case Value::Type::Dictionary:
            return depth < m_maximumDepth ? buildDictionary(value, depth + 1) : nullptr;
        }
        return nullptr;
    }

private:
    static bool holdsNul(const std::string& text) { return text.find('\0') != std::string::npos; }

    static plist_t buildString(const std::string& text) {
        return holdsNul(text) ? nullptr : plist_new_string(text.c_str());
    }

    static plist_t buildData(const Value::Data& data) {
        static const char none = 0;
        const char* bytes = data.empty() ? &none : reinterpret_cast<const char*>(data.data());
        return plist_new_data(bytes, data.size());
    }

    plist_t buildArray(const Value& value, std::size_t depth) const {
        PlistTree array(plist_new_array());
        for (const auto& item : value.asArray()) {
            plist_t node = build(item, depth);
            if (!node)
                return nullptr;
            plist_array_append_item(array.get(), node);
        }
        return array.release();
    }

    plist_t buildDictionary(const Value& value, std::size_t depth) const {
        PlistTree dictionary(plist_new_dict());
        for (const auto& [key, item] : value.asDictionary()) {
            plist_t node = holdsNul(key) ? nullptr : build(item, depth);
            if (!node)
                return nullptr;
            plist_dict_set_item(dictionary.get(), key.c_str(), node);
        }
        return dictionary.release();
    }

    std::size_t m_maximumDepth;
};

} // namespace

PlistTree::~PlistTree() {
    destroy();
}

PlistTree& PlistTree::operator=(PlistTree&& other) noexcept {
    if (this != &other) {
        destroy();
        m_mayBeDeep = other.m_mayBeDeep;
        m_root = other.release();
    }
    return *this;
}

void* PlistTree::release() {
    return std::exchange(m_root, nullptr);
}

void PlistTree::destroy() {
    if (!m_root)
        return;
    if (m_mayBeDeep)
        releaseTree(m_root);
    else
        plist_free(m_root);
    m_root = nullptr;
}

PlistTree PlistTree::fromValue(const Value& value, std::size_t maximumDepth) {
    PlistTree tree(TreeBuilder(std::min(maximumDepth, pieceHeight - 1)).build(value, 0));
    tree.m_mayBeDeep = false;
    return tree;
}

std::optional<Value> PlistTree::toValue(std::size_t maximumDepth) const {
    if (!m_root)
        return std::nullopt;
    auto value = ValueReader(maximumDepth).read(m_root, 0);
    // Read in full, the tree is no deeper than the limit.
    if (value && maximumDepth < pieceHeight)
        m_mayBeDeep = false;
    return value;
}

std::optional<std::string> PlistTree::toXML() const {
    if (!m_root)
        return std::nullopt;
    char* xml = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(m_root, &xml, &length);
    if (!xml)
        return std::nullopt;
    std::string text(xml, length);
    plist_to_xml_free(xml);
    return text;
}

} // namespace platform
