#pragma once

#include <memory>
#include <string>

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UILayoutGuide.h"
#include "platform/uikit/UIView.h"

// The root page's coloured header: the maker's name over the tweak's name and version, pinned under
// the top layout guide. The page keeps the views and the three constraints that scrolling and the
// bars' mode move; the contents view and the stack are held by the view tree alone.
class RootPageHeader {
public:
    static constexpr CGFloat height = 170;

    struct Text {
        std::string companyName;
        std::string tweakName;
        std::string tweakVersion;
    };

    // Builds the header, adds it to pageView and activates its constraints.
    static RootPageHeader build(const std::shared_ptr<UIView>& pageView,
                                const std::shared_ptr<UILayoutGuide>& topLayoutGuide, const UIColorPtr& colour,
                                const Text& text);

    std::shared_ptr<UIView> view;
    std::shared_ptr<UILabel> companyLabel;
    std::shared_ptr<UILabel> titleLabel;
    std::shared_ptr<NSLayoutConstraint> topConstraint;
    std::shared_ptr<NSLayoutConstraint> heightConstraint;
    std::shared_ptr<NSLayoutConstraint> contentsCenterConstraint;

private:
    std::shared_ptr<UIView> buildContents(const UIColorPtr& colour);
    void buildStack(const std::shared_ptr<UIView>& contents, const Text& text);
};
