#pragma once

#include "platform/uikit/NSAttributedString.h"

// An attributed string that can grow and have its attributes changed over ranges (clamped to the
// string).
class NSMutableAttributedString : public NSAttributedString {
public:
    using NSAttributedString::NSAttributedString;
    // A mutable copy.
    explicit NSMutableAttributedString(const NSAttributedString& other) : NSAttributedString(other) {}

    void appendAttributedString(const NSAttributedString& other);
    void addAttribute(NSAttributedStringKey name, const NSAttributeValue& value, NSRange range);
    void addAttributes(const NSAttributes& attributes, NSRange range);
    void removeAttribute(NSAttributedStringKey name, NSRange range);
};

using NSMutableAttributedStringPtr = std::shared_ptr<NSMutableAttributedString>;
