#include "platform/uikit/UITableViewCell.h"

namespace {

[[maybe_unused]] const Class registeredClass =
    platform::registerClass<UITableViewCell, UIView>();

} // namespace

std::shared_ptr<UITableViewCell> UITableViewCell::initWithStyle(UITableViewCellStyle style,
                                                                std::string reuseIdentifier) {
    m_style = style;
    m_reuseIdentifier = std::move(reuseIdentifier);
    contentView();
    return selfAs<UITableViewCell>();
}

const std::shared_ptr<UIView>& UITableViewCell::contentView() {
    if (!m_contentView) {
        m_contentView = std::make_shared<UIView>();
        insertSubview(m_contentView, 0);
    }
    return m_contentView;
}
