#include "platform/preferences/PSListController.h"

#include <algorithm>

#include "platform/corefoundation/CFNotificationCenter.h"
#include "platform/corefoundation/CFPreferences.h"
#include "platform/foundation/PropertyList.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/preferences/SpecifierCellFactory.h"
#include "platform/preferences/SpecifierListReader.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINavigationController.h"

namespace {

// Rows whose controls store values send these selectors to their target, so a subclass's override
// of the value methods is reached by name as well as by a C++ call.
Class registerListController() {
    Class cls = platform::registerClass<PSListController, UIViewController>();
    using platform::bind;
    platform::addMethods<PSListController>(cls, {
        {PSSpecifier::defaultSetter, bind<&PSListController::setPreferenceValue>()},
        {PSSpecifier::defaultGetter, bind<&PSListController::readPreferenceValue>()},
    });
    return cls;
}

[[maybe_unused]] const Class registeredClass = registerListController();

// The preference domain and key of a row that stores its value in one.
struct StoredLocation {
    std::string key;
    std::string domain;
};

std::optional<StoredLocation> storedLocationOf(const PSSpecifier& specifier) {
    const Value& key = specifier.properties()["key"];
    const Value& domain = specifier.properties()["defaults"];
    if (!key.isString() || !domain.isString())
        return std::nullopt;
    return StoredLocation{key.asString(), domain.asString()};
}

bool isLinkRow(PSCellType cellType) {
    return cellType == PSLinkCell || cellType == PSLinkListCell;
}

// The page a link row opens: its detail class, or the one its "detail" names when that class was
// registered after the row was read.
Class detailClassOf(const PSSpecifier& specifier) {
    if (specifier.detailControllerClass)
        return specifier.detailControllerClass;
    const Value& name = specifier.properties()["detail"];
    return name.isString() ? objc_getClass(name.asString()) : nullptr;
}

} // namespace

// --- Rows ---------------------------------------------------------------------------------------

std::shared_ptr<PSSpecifierList> PSListController::specifiers() {
    return _specifiers;
}

void PSListController::setSpecifiers(std::shared_ptr<PSSpecifierList> specifiers) {
    _specifiers = std::move(specifiers);
    reloadSpecifiers();
}

std::shared_ptr<PSSpecifierList>
PSListController::loadSpecifiersFromPlistName(std::string_view name, const id& target,
                                              const std::shared_ptr<NSBundle>& bundle) {
    if (!bundle)
        return nullptr;
    auto path = bundle->pathForResource(name, "plist");
    if (!path)
        return nullptr;
    auto list = platform::PropertyList::readFile(*path);
    if (!list || !list->isDictionary())
        return nullptr;
    if (const Value& title = (*list)["title"]; title.isString())
        setTitle(title.asString());
    return platform::SpecifierListReader::specifiersFromList(*list, target);
}

void PSListController::clearCache() {
    m_cells.clear();
}

void PSListController::reloadSpecifiers() {
    m_sections.reset();
    if (m_table)
        m_table->reloadData();
}

std::shared_ptr<PSSpecifier>
PSListController::specifierAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) {
    if (!indexPath)
        return nullptr;
    return sections().specifierAt(indexPath->section(), indexPath->row());
}

std::shared_ptr<NSIndexPath>
PSListController::indexPathForSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
    auto position = sections().positionOf(specifier);
    if (!position || position->second < 0)
        return nullptr;
    return NSIndexPath::indexPathForRow(position->second, position->first);
}

std::shared_ptr<PSSpecifier> PSListController::specifierForID(std::string_view identifier) {
    auto list = specifiers();
    if (!list)
        return nullptr;
    auto found = std::find_if(list->begin(), list->end(), [&](const auto& specifier) {
        return specifier && specifier->identifier() == identifier;
    });
    return found == list->end() ? nullptr : *found;
}

const platform::SpecifierSections& PSListController::sections() {
    if (!m_sections) {
        auto list = specifiers();
        m_sections.emplace(list ? platform::SpecifierSections(*list) : platform::SpecifierSections());
    }
    return *m_sections;
}

// --- The page -----------------------------------------------------------------------------------

const std::shared_ptr<UITableView>& PSListController::table() {
    if (!m_table) {
        m_table = std::make_shared<UITableView>(UITableViewStyle::InsetGrouped);
        auto self = selfAs<PSListController>();
        m_table->setDataSource(self);
        m_table->setDelegate(self);
    }
    return m_table;
}

void PSListController::loadView() {
    setView(table());
}

void PSListController::viewWillAppear(bool animated) {
    UIViewController::viewWillAppear(animated);
    for (const auto& [specifier, cell] : m_cells)
        if (auto preferenceCell = std::dynamic_pointer_cast<PSTableCell>(cell))
            preferenceCell->setValue(valueOfRow(specifier));
}

// --- Values -------------------------------------------------------------------------------------

Value PSListController::readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier)
        return {};
    if (auto location = storedLocationOf(*specifier)) {
        Value stored = CFPreferencesCopyAppValue(location->key, location->domain);
        if (!stored.isNull())
            return stored;
    } else if (Value kept = specifier->propertyForKey("value"); !kept.isNull()) {
        return kept;
    }
    return specifier->propertyForKey("default");
}

Value PSListController::valueOfRow(const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier)
        return {};
    id target = specifier->target();
    if (!target)
        target = selfAs<PSListController>();
    std::string_view getter = specifier->getter.empty() ? PSSpecifier::defaultGetter : specifier->getter;
    return objc_msgSend(target, getter, {MessageValue(specifier)}).value();
}

void PSListController::setPreferenceValue(const Value& value, const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier)
        return;
    if (auto location = storedLocationOf(*specifier)) {
        CFPreferencesSetAppValue(location->key, value, location->domain);
        CFPreferencesAppSynchronize(location->domain);
    } else {
        specifier->setProperty(value, "value");
    }
    const Value& notification = specifier->properties()["PostNotification"];
    if (notification.isString() && !notification.asString().empty())
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                             notification.asString(), nullptr, Value(), true);
}

// --- Table callbacks ----------------------------------------------------------------------------

long PSListController::numberOfSectionsInTableView(const std::shared_ptr<UITableView>&) {
    return sections().count();
}

long PSListController::tableViewNumberOfRowsInSection(const std::shared_ptr<UITableView>&, long section) {
    return sections().rowCount(section);
}

std::shared_ptr<UITableViewCell>
PSListController::tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                 const std::shared_ptr<NSIndexPath>& indexPath) {
    auto specifier = specifierAtIndexPath(indexPath);
    if (!specifier)
        return nullptr;
    if (auto cached = m_cells.find(specifier); cached != m_cells.end())
        return cached->second;
    auto cell = platform::SpecifierCellFactory::cellForSpecifier(specifier);
    if (!cell)
        return nullptr;
    m_cells.emplace(specifier, cell);
    if (auto preferenceCell = std::dynamic_pointer_cast<PSTableCell>(cell))
        preferenceCell->setValue(valueOfRow(specifier));
    if (const Value& icon = specifier->properties()["icon"]; icon.isString() && m_bundle)
        cell->setImage(UIImage::imageNamed(icon.asString(), m_bundle, nullptr));
    return cell;
}

std::optional<std::string>
PSListController::tableViewTitleForHeaderInSection(const std::shared_ptr<UITableView>&, long section) {
    auto group = sections().groupOf(section);
    if (!group || group->name().empty())
        return std::nullopt;
    return group->name();
}

std::optional<std::string>
PSListController::tableViewTitleForFooterInSection(const std::shared_ptr<UITableView>&, long section) {
    auto group = sections().groupOf(section);
    if (!group)
        return std::nullopt;
    const Value& footer = group->properties()["footerText"];
    if (!footer.isString())
        return std::nullopt;
    return footer.asString();
}

NSTextAlignment PSListController::_tableViewFooterAlignmentInSection(const std::shared_ptr<UITableView>&,
                                                                    long section) {
    auto group = sections().groupOf(section);
    const Value& alignment = group ? group->properties()["footerAlignment"] : Value();
    if (!alignment.isNumber())
        return NSTextAlignmentNatural;
    switch (alignment.integerValue()) {
    case 1:
        return NSTextAlignmentCenter;
    case 2:
        return NSTextAlignmentRight;
    default:
        return NSTextAlignmentLeft;
    }
}

CGFloat PSListController::tableViewHeightForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                           const std::shared_ptr<NSIndexPath>& indexPath) {
    auto specifier = specifierAtIndexPath(indexPath);
    if (!specifier)
        return defaultRowHeight;
    const Value& height = specifier->properties()["height"];
    return height.isNumber() ? height.doubleValue() : defaultRowHeight;
}

void PSListController::tableViewWillDisplayCellForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                                 const std::shared_ptr<UITableViewCell>&,
                                                                 const std::shared_ptr<NSIndexPath>&) {}

void PSListController::tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                        const std::shared_ptr<NSIndexPath>& indexPath) {
    auto specifier = specifierAtIndexPath(indexPath);
    if (!specifier)
        return;
    PSCellType cellType = specifier->cellType();
    if (isLinkRow(cellType)) {
        if (Class detailClass = detailClassOf(*specifier)) {
            pushDetailPage(specifier, detailClass);
            return;
        }
    }
    if ((isLinkRow(cellType) || cellType == PSButtonCell) && !specifier->action.empty()) {
        if (const Value& confirmation = specifier->properties()["confirmation"]; confirmation.isDictionary())
            confirmAction(specifier, confirmation);
        else
            objc_msgSend(specifier->target(), specifier->action, {MessageValue(specifier)});
    }
}

void PSListController::confirmAction(const std::shared_ptr<PSSpecifier>& specifier, const Value& confirmation) {
    auto text = [&](const char* key, const char* fallback) {
        const Value& value = confirmation[key];
        return value.isString() ? value.asString() : std::string(fallback);
    };
    bool destructive = confirmation["isDestructive"].isBool() && confirmation["isDestructive"].boolValue();
    auto alert = UIAlertController::alertControllerWithTitle(text("title", ""), text("prompt", ""),
                                                             UIAlertControllerStyle::Alert);
    std::weak_ptr<PSSpecifier> weakRow = specifier;
    alert->addAction(UIAlertAction::actionWithTitle(
        text("okTitle", "OK"), destructive ? UIAlertActionStyle::Destructive : UIAlertActionStyle::Default,
        [weakRow](const std::shared_ptr<UIAlertAction>&) {
            if (auto row = weakRow.lock())
                objc_msgSend(row->target(), row->action, {MessageValue(row)});
        }));
    alert->addAction(UIAlertAction::actionWithTitle(text("cancelTitle", "Cancel"), UIAlertActionStyle::Cancel, nullptr));
    presentViewController(alert, true, nullptr);
}

void PSListController::pushDetailPage(const std::shared_ptr<PSSpecifier>& specifier, Class detailClass) {
    auto navigationController = this->navigationController();
    auto page = std::dynamic_pointer_cast<UIViewController>(class_createInstance(detailClass));
    if (!navigationController || !page)
        return;
    if (auto listPage = std::dynamic_pointer_cast<PSListController>(page)) {
        listPage->setSpecifier(specifier);
        listPage->setBundle(m_bundle);
    }
    if (!specifier->name().empty())
        page->setTitle(specifier->name());
    navigationController->pushViewController(page, true);
}
