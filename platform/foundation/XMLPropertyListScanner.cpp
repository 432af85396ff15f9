#include "platform/foundation/XMLPropertyListScanner.h"

#include <algorithm>
#include <vector>

namespace platform {

namespace {

constexpr std::size_t npos = std::string_view::npos;

std::size_t after(std::size_t position, std::size_t length) {
    return position == npos ? npos : position + length;
}

// Where `needle` next starts at or after `from`, passing over double-quoted runs.
std::size_t findOutsideQuotes(std::string_view text, std::size_t from, std::string_view needle) {
    bool quoted = false;
    for (std::size_t index = from; index < text.size(); ++index) {
        if (text[index] == '"')
            quoted = !quoted;
        else if (!quoted && text.substr(index).starts_with(needle))
            return index;
    }
    return npos;
}

// Where the next of `characters` is at or after `from`, passing over double-quoted runs.
std::size_t findAnyOutsideQuotes(std::string_view text, std::size_t from, std::string_view characters) {
    bool quoted = false;
    for (std::size_t index = from; index < text.size(); ++index) {
        if (text[index] == '"')
            quoted = !quoted;
        else if (!quoted && characters.find(text[index]) != npos)
            return index;
    }
    return npos;
}

class ShapeCount {
public:
    const XMLPropertyListShape& shape() const { return m_shape; }

    // Reads the tag whose name starts at `start` and returns where scanning goes on, or npos where
    // the reader would stop with an error.
    std::size_t readTag(std::string_view text, std::size_t start) {
        std::size_t nameEnd = text.find_first_of(" \r\n\t<>", start);
        if (nameEnd == npos)
            return npos;
        std::string_view name = text.substr(start, nameEnd - start);
        std::size_t end = text[nameEnd] == '>' ? nameEnd : findAnyOutsideQuotes(text, nameEnd, "<>");
        if (end == npos || text[end] != '>')
            return npos;
        bool empty = text[end - 1] == '/';
        if (empty && name.ends_with('/'))
            name.remove_suffix(1);
        if (!name.starts_with('/') && name != "plist")
            ++m_shape.nodes;
        if (name == "key")
            countKey();
        if (name == "array" || name == "dict") {
            // An empty collection is a level too, just not one that holds anything.
            m_shape.depth = std::max(m_shape.depth, m_open.size() + 1);
            if (!empty)
                m_open.push_back(OpenCollection{name == "dict", 0});
        } else if ((name == "/array" || name == "/dict") && !m_open.empty())
            m_open.pop_back();
        return end + 1;
    }

private:
    struct OpenCollection {
        bool isDictionary = false;
        std::size_t keys = 0;
    };

    void countKey() {
        if (m_open.empty() || !m_open.back().isDictionary)
            return;
        std::size_t keys = ++m_open.back().keys;
        m_shape.largestDictionaryKeys = std::max(m_shape.largestDictionaryKeys, keys);
    }

    std::vector<OpenCollection> m_open;
    XMLPropertyListShape m_shape;
};

// Past the DOCTYPE declaration whose keyword ends at `from`, with its internal subset if any.
std::size_t doctypeEnd(std::string_view text, std::size_t from) {
    std::size_t stop = findAnyOutsideQuotes(text, from, "[>");
    if (stop == npos || text[stop] == '>')
        return after(stop, 1);
    return after(findOutsideQuotes(text, stop, "]>"), 2);
}

} // namespace

XMLPropertyListShape XMLPropertyListScanner::measure(std::string_view text) {
    ShapeCount count;
    std::size_t at = 0;
    while ((at = text.find('<', at)) != npos) {
        std::string_view rest = text.substr(at + 1);
        if (rest.starts_with("!--"))
            at = after(text.find("-->", at + 4), 3);
        else if (rest.starts_with("![CDATA["))
            at = after(text.find("]]>", at + 9), 3);
        else if (rest.starts_with("?"))
            // Searched from the '?' itself, so "<?>" is a whole instruction.
            at = after(findOutsideQuotes(text, at + 1, "?>"), 2);
        else if (rest.starts_with("!DOCTYPE"))
            at = doctypeEnd(text, at + 9);
        else if (rest.starts_with("!"))
            break;
        else
            at = count.readTag(text, at + 1);
        if (at == npos)
            break;
    }
    return count.shape();
}

} // namespace platform
