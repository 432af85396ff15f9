#include "settings/rootpage/RootPageHeader.h"

#include <utility>

#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/NSMutableAttributedString.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIStackView.h"

namespace {

std::shared_ptr<UILabel> makeHeaderLabel() {
    auto label = std::make_shared<UILabel>();
    label->setNumberOfLines(1);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumScaleFactor(static_cast<CGFloat>(5.0f / 6.0f));
    label->setClipsToBounds(true);
    return label;
}

std::shared_ptr<NSAttributedString> textWith(std::string text, const UIColorPtr& colour, CGFloat size) {
    return std::make_shared<NSAttributedString>(
        std::move(text),
        NSAttributes{{std::string(NSFontAttributeName), UIFont::systemFontOfSize(size, UIFontWeightMedium)},
                     {std::string(NSForegroundColorAttributeName), colour}});
}

std::shared_ptr<NSAttributedString> headerTitleText(const RootPageHeader::Text& text) {
    auto title = std::make_shared<NSMutableAttributedString>(*textWith(text.tweakName, UIColor::whiteColor(), 36));
    title->appendAttributedString(*textWith(" v" + text.tweakVersion, UIColor::colorWithWhite(1.0, 0.5), 22));
    return title;
}

} // namespace

RootPageHeader RootPageHeader::build(const std::shared_ptr<UIView>& pageView,
                                     const std::shared_ptr<UILayoutGuide>& topLayoutGuide,
                                     const UIColorPtr& colour, const Text& text) {
    RootPageHeader header;
    header.view = std::make_shared<UIView>();
    header.view->setFrame(CGRect{{0, 0}, {pageView->bounds().size.width, height}});
    header.view->setTranslatesAutoresizingMaskIntoConstraints(false);
    header.view->setUserInteractionEnabled(false);
    header.view->setPreservesSuperviewLayoutMargins(true);
    pageView->addSubview(header.view);
    header.heightConstraint = header.view->heightAnchor()->constraintEqualToConstant(height);
    header.topConstraint = header.view->topAnchor()->constraintEqualToAnchor(topLayoutGuide->bottomAnchor());
    NSLayoutConstraint::activateConstraints({
        header.view->leftAnchor()->constraintEqualToAnchor(pageView->leftAnchor()),
        header.view->rightAnchor()->constraintEqualToAnchor(pageView->rightAnchor()),
        header.heightConstraint,
        header.topConstraint,
    });
    header.buildStack(header.buildContents(colour), text);
    return header;
}

std::shared_ptr<UIView> RootPageHeader::buildContents(const UIColorPtr& colour) {
    auto contents = std::make_shared<UIView>();
    contents->setFrame(view->bounds());
    contents->setBackgroundColor(colour);
    contents->setPreservesSuperviewLayoutMargins(true);
    contents->setTranslatesAutoresizingMaskIntoConstraints(false);
    view->addSubview(contents);
    NSLayoutConstraint::activateConstraints({
        contents->heightAnchor()->constraintEqualToAnchor(view->heightAnchor()),
        contents->topAnchor()->constraintEqualToAnchor(view->topAnchor()),
        contents->bottomAnchor()->constraintEqualToAnchor(view->bottomAnchor()),
        contents->leftAnchor()->constraintEqualToAnchor(view->leftAnchor()),
        contents->rightAnchor()->constraintEqualToAnchor(view->rightAnchor()),
    });
    return contents;
}

void RootPageHeader::buildStack(const std::shared_ptr<UIView>& contents, const Text& text) {
    companyLabel = makeHeaderLabel();
    companyLabel->setText(text.companyName);
    companyLabel->setFont(UIFont::systemFontOfSize(16, UIFontWeightSemibold));
    companyLabel->setTextColor(UIColor::colorWithWhite(1.0, 0.7));

    titleLabel = makeHeaderLabel();
    titleLabel->setAttributedText(headerTitleText(text));

    auto stack = std::make_shared<UIStackView>();
    stack->addArrangedSubview(companyLabel);
    stack->addArrangedSubview(titleLabel);
    stack->setAxis(UILayoutConstraintAxisVertical);
    stack->setSpacing(8);
    stack->setTranslatesAutoresizingMaskIntoConstraints(false);
    contents->addSubview(stack);
    contentsCenterConstraint = stack->centerYAnchor()->constraintEqualToAnchor(contents->centerYAnchor());
    NSLayoutConstraint::activateConstraints({
        contentsCenterConstraint,
        stack->leftAnchor()->constraintEqualToAnchor(contents->layoutMarginsGuide()->leftAnchor()),
        stack->rightAnchor()->constraintEqualToAnchor(contents->layoutMarginsGuide()->rightAnchor()),
    });
}
