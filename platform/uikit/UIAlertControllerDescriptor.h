#pragma once

#include "platform/runtime/NSObject.h"

#include "platform/uikit/UIAlertControllerStyle.h"

// What an alert controller tells its visual style about itself before iOS 13: which style it has
// and whether a header content view takes room above the title.
class UIAlertControllerDescriptor : public NSObject {
public:
    UIAlertControllerDescriptor(UIAlertControllerStyle style, bool hasHeaderContent)
        : m_style(style), m_hasHeaderContent(hasHeaderContent) {}

    bool hasHeaderContent() const { return m_hasHeaderContent; }

private:
    UIAlertControllerStyle m_style;
    bool m_hasHeaderContent;
};
