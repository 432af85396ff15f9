#include "platform/foundation/BinaryPropertyListShape.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

namespace platform {

namespace {

constexpr std::size_t headerSize = 8;
constexpr std::size_t trailerSize = 32;

std::uint64_t readBigEndian(const std::uint8_t* bytes, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t index = 0; index < width; ++index)
        value = (value << 8) | bytes[index];
    return value;
}

// The references an object holds: none for a scalar, its items for an array or set, its keys and
// then its values for a dictionary.
struct References {
    bool isCollection = false;
    const std::uint8_t* first = nullptr;
    std::uint64_t count = 0;
    // The first `keyCount` references are a dictionary's keys.
    std::uint64_t keyCount = 0;
};

// The trailer and offset table of a binary property list, checked against the data's bounds.
class ObjectTable {
public:
    static std::optional<ObjectTable> read(const std::uint8_t* bytes, std::size_t length) {
        if (length < headerSize + trailerSize || std::memcmp(bytes, "bplist00", headerSize) != 0)
            return std::nullopt;
        const std::uint8_t* trailer = bytes + length - trailerSize;
        ObjectTable table;
        table.m_bytes = bytes;
        table.m_offsetSize = trailer[6];
        table.m_referenceSize = trailer[7];
        table.m_objectCount = readBigEndian(trailer + 8, 8);
        table.m_topObject = readBigEndian(trailer + 16, 8);
        table.m_tableOffset = readBigEndian(trailer + 24, 8);
        if (!table.isConsistent(length - trailerSize))
            return std::nullopt;
        return table;
    }

    std::uint64_t objectCount() const { return m_objectCount; }
    std::uint64_t topObject() const { return m_topObject; }

    std::uint64_t reference(const References& references, std::uint64_t index) const {
        return readBigEndian(references.first + index * m_referenceSize, m_referenceSize);
    }

    // ASCII and UTF-16 strings without a NUL character: the only objects a dictionary key may be.
    // libplist 2.2 stops on an assertion when it hands out a key holding a NUL.
    bool isKeyString(std::uint64_t object) const {
        auto header = objectHeader(object);
        if (!header || (header->kind != 0x5 && header->kind != 0x6))
            return false;
        std::uint64_t unitSize = header->kind == 0x6 ? 2 : 1;
        if (header->count > header->available / unitSize)
            return false;
        for (std::uint64_t unit = 0; unit < header->count; ++unit) {
            const std::uint8_t* character = header->payload + unit * unitSize;
            if (character[0] == 0 && (unitSize == 1 || character[1] == 0))
                return false;
        }
        return true;
    }

    // Nothing when the object or its reference list lies outside the object data.
    std::optional<References> references(std::uint64_t object) const {
        auto header = objectHeader(object);
        if (!header)
            return std::nullopt;
        // Arrays, ordered sets, sets and dictionaries.
        if (header->kind < 0xA || header->kind > 0xD)
            return References{};
        std::uint64_t perEntry = header->kind == 0xD ? 2 : 1;
        if (header->count > header->available / m_referenceSize / perEntry)
            return std::nullopt;
        return References{true, header->payload, header->count * perEntry,
                          header->kind == 0xD ? header->count : 0};
    }

private:
    // An object's kind (the marker's high half), its count and where its contents start.
    struct ObjectHeader {
        std::uint8_t kind;
        std::uint64_t count;
        const std::uint8_t* payload;
        std::uint64_t available;
    };

    std::optional<ObjectHeader> objectHeader(std::uint64_t object) const {
        std::uint64_t start = readBigEndian(m_bytes + m_tableOffset + object * m_offsetSize, m_offsetSize);
        if (start < headerSize || start >= m_tableOffset)
            return std::nullopt;
        const std::uint8_t* position = m_bytes + start;
        const std::uint8_t* end = m_bytes + m_tableOffset;
        std::uint8_t marker = *position++;
        std::uint8_t kind = marker >> 4;
        std::uint64_t count = marker & 0x0F;
        bool hasCount = kind == 0x4 || kind == 0x5 || kind == 0x6 || (kind >= 0xA && kind <= 0xD);
        if (count == 0x0F && hasCount) {
            // Data, strings and collections: the count follows as an integer object of 1, 2, 4 or 8 bytes.
            if (position == end || (*position & 0xF0) != 0x10 || (*position & 0x0F) > 3)
                return std::nullopt;
            std::size_t width = std::size_t{1} << (*position & 0x0F);
            ++position;
            if (static_cast<std::size_t>(end - position) < width)
                return std::nullopt;
            count = readBigEndian(position, width);
            position += width;
        }
        return ObjectHeader{kind, count, position, static_cast<std::uint64_t>(end - position)};
    }

    bool isConsistent(std::size_t dataEnd) const {
        if (m_offsetSize < 1 || m_offsetSize > 8 || m_referenceSize < 1 || m_referenceSize > 8)
            return false;
        if (m_objectCount == 0 || m_topObject >= m_objectCount)
            return false;
        if (m_tableOffset < headerSize || m_tableOffset > dataEnd)
            return false;
        return m_objectCount <= (dataEnd - m_tableOffset) / m_offsetSize;
    }

    const std::uint8_t* m_bytes = nullptr;
    std::size_t m_offsetSize = 0;
    std::size_t m_referenceSize = 0;
    std::uint64_t m_objectCount = 0;
    std::uint64_t m_topObject = 0;
    std::uint64_t m_tableOffset = 0;
};

// A depth-first walk over the object graph with an explicit stack, remembering the shape of every
// collection it has finished so that shared objects are measured once.
class ShapeWalk {
public:
    ShapeWalk(const ObjectTable& table, std::size_t depthLimit, std::size_t nodeLimit)
        : m_table(table), m_depthLimit(depthLimit), m_nodeLimit(nodeLimit),
          m_states(table.objectCount(), State::Unvisited) {}

    std::optional<BinaryPropertyListShape> run() {
        auto root = m_table.references(m_table.topObject());
        if (!root)
            return std::nullopt;
        if (!root->isCollection)
            return BinaryPropertyListShape{0, 1};
        enter(m_table.topObject(), *root);
        while (!m_stack.empty()) {
            if (m_stack.size() > m_depthLimit)
                return BinaryPropertyListShape{m_depthLimit + 1, m_stack.front().nodes};
            if (m_stack.front().nodes > m_nodeLimit)
                return BinaryPropertyListShape{m_stack.size(), m_nodeLimit + 1};
            Frame& frame = m_stack.back();
            if (frame.next < frame.references.count) {
                if (!step(frame))
                    return std::nullopt;
                continue;
            }
            BinaryPropertyListShape finished{frame.deepestChild + 1, frame.nodes};
            m_states[frame.object] = State::Finished;
            m_shapes[frame.object] = finished;
            m_stack.pop_back();
            if (m_stack.empty())
                return finished;
            add(m_stack.back(), finished);
        }
        return std::nullopt;
    }

private:
    enum class State : std::uint8_t { Unvisited, Open, Finished };
    struct Frame {
        std::uint64_t object;
        References references;
        std::uint64_t next = 0;
        std::size_t deepestChild = 0;
        std::size_t nodes = 1;
    };

    void enter(std::uint64_t object, const References& references) {
        m_states[object] = State::Open;
        m_stack.push_back(Frame{object, references});
    }

    // Takes the frame's next reference: counts a scalar or a finished collection, or descends.
    bool step(Frame& frame) {
        bool isKey = frame.next < frame.references.keyCount;
        std::uint64_t child = m_table.reference(frame.references, frame.next++);
        if (child >= m_table.objectCount() || m_states[child] == State::Open)
            return false;
        if (isKey) {
            add(frame, BinaryPropertyListShape{0, 1});
            return m_table.isKeyString(child);
        }
        if (m_states[child] == State::Finished) {
            add(frame, m_shapes[child]);
            return true;
        }
        auto references = m_table.references(child);
        if (!references)
            return false;
        if (references->isCollection)
            enter(child, *references);
        else
            add(frame, BinaryPropertyListShape{0, 1});
        return true;
    }

    void add(Frame& parent, const BinaryPropertyListShape& child) {
        parent.deepestChild = std::max(parent.deepestChild, child.depth);
        // Saturating: counts past the limit only need to stay past it.
        parent.nodes = std::min(parent.nodes + std::min(child.nodes, m_nodeLimit + 1), m_nodeLimit + 1);
    }

    const ObjectTable& m_table;
    std::size_t m_depthLimit;
    std::size_t m_nodeLimit;
    std::vector<State> m_states;
    // Only collections are remembered: scalars are one node each.
    std::unordered_map<std::uint64_t, BinaryPropertyListShape> m_shapes;
    std::vector<Frame> m_stack;
};

} // namespace

std::optional<BinaryPropertyListShape> BinaryPropertyListShape::measure(const std::uint8_t* bytes,
                                                                        std::size_t length,
                                                                        std::size_t depthLimit,
                                                                        std::size_t nodeLimit) {
    if (!bytes)
        return std::nullopt;
    auto table = ObjectTable::read(bytes, length);
    if (!table)
        return std::nullopt;
    return ShapeWalk(*table, depthLimit, nodeLimit).run();
}

} // namespace platform
