#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/NSRange.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"

using NSAttributedStringKey = std::string_view;
inline constexpr NSAttributedStringKey NSFontAttributeName = "NSFont";
inline constexpr NSAttributedStringKey NSForegroundColorAttributeName = "NSColor";
inline constexpr NSAttributedStringKey NSBackgroundColorAttributeName = "NSBackgroundColor";
// Extra space after each character, in points.
inline constexpr NSAttributedStringKey NSKernAttributeName = "NSKern";

// A font, a colour or a number: what the attributes above hold.
using NSAttributeValue = std::variant<UIFontPtr, UIColorPtr, double>;
using NSAttributes = std::map<std::string, NSAttributeValue, std::less<>>;

// Text (UTF-8) with attributes over ranges. Lengths and ranges count UTF-16 code units, as on the
// platform. The attributes are kept as runs that cover the whole string, each with one attribute
// dictionary.
class NSAttributedString : public NSObject {
public:
    static constexpr platform::RegisteredName<NSAttributedString> registeredName{"NSAttributedString"};
    struct Run {
        NSRange range;
        NSAttributes attributes;
    };

    NSAttributedString() = default;
    explicit NSAttributedString(std::string string, NSAttributes attributes = {});

    const std::string& string() const { return m_string; }
    std::size_t length() const { return m_length; }
    // The attributes at a UTF-16 index (none past the end); `effectiveRange` gets the run's range.
    NSAttributes attributesAtIndex(std::size_t index, NSRange* effectiveRange = nullptr) const;
    const std::vector<Run>& _runs() const { return m_runs; }
    bool isEqualToAttributedString(const NSAttributedString& other) const;

    // A font, colour or number attribute of a run, or nullptr / the fallback.
    static UIFontPtr fontIn(const NSAttributes& attributes);
    static UIColorPtr colorIn(const NSAttributes& attributes, NSAttributedStringKey key);
    static double numberIn(const NSAttributes& attributes, NSAttributedStringKey key, double fallback);

protected:
    // The range clamped to the string.
    NSRange clamped(NSRange range) const;
    // Splits runs so that the range's ends are run boundaries; returns the first run inside it.
    std::size_t splitAt(NSRange range);
    void mergeEqualNeighbours();

    std::string m_string;
    std::size_t m_length = 0;
    std::vector<Run> m_runs;
};

using NSAttributedStringPtr = std::shared_ptr<NSAttributedString>;
