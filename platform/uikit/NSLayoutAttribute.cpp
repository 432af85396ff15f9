#include "platform/uikit/NSLayoutAttribute.h"

const char* NSLayoutAttributeName(NSLayoutAttribute attribute) {
    switch (attribute) {
    case NSLayoutAttributeLeft:
        return "left";
    case NSLayoutAttributeRight:
        return "right";
    case NSLayoutAttributeTop:
        return "top";
    case NSLayoutAttributeBottom:
        return "bottom";
    case NSLayoutAttributeLeading:
        return "leading";
    case NSLayoutAttributeTrailing:
        return "trailing";
    case NSLayoutAttributeWidth:
        return "width";
    case NSLayoutAttributeHeight:
        return "height";
    case NSLayoutAttributeCenterX:
        return "centerX";
    case NSLayoutAttributeCenterY:
        return "centerY";
    case NSLayoutAttributeNotAnAttribute:
        break;
    }
    return "notAnAttribute";
}
