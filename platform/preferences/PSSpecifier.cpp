#include "platform/preferences/PSSpecifier.h"

namespace {

[[maybe_unused]] const Class registeredClass = platform::registerClass<PSSpecifier>("PSSpecifier");

} // namespace

std::shared_ptr<PSSpecifier> PSSpecifier::preferenceSpecifierNamed(std::string_view name, const id& target,
                                                                   std::string_view setSelector,
                                                                   std::string_view getSelector,
                                                                   Class detailClass, PSCellType cellType,
                                                                   Class editPaneClass) {
    auto specifier = std::make_shared<PSSpecifier>();
    specifier->m_name = std::string(name);
    specifier->m_target = target;
    specifier->setter = std::string(setSelector);
    specifier->getter = std::string(getSelector);
    specifier->detailControllerClass = detailClass;
    specifier->m_cellType = cellType;
    specifier->editPaneClass = editPaneClass;
    return specifier;
}

std::shared_ptr<PSSpecifier> PSSpecifier::groupSpecifierWithName(std::string_view name) {
    return preferenceSpecifierNamed(name, nullptr, {}, {}, nullptr, PSGroupCell, nullptr);
}

std::shared_ptr<PSSpecifier> PSSpecifier::emptyGroupSpecifier() {
    return groupSpecifierWithName({});
}

void PSSpecifier::setProperty(Value value, std::string_view key) {
    if (auto found = m_objectProperties.find(key); found != m_objectProperties.end())
        m_objectProperties.erase(found);
    if (value.isNull())
        m_properties.remove(key);
    else
        m_properties.set(std::string(key), std::move(value));
}

void PSSpecifier::setObjectProperty(const id& object, std::string_view key) {
    m_properties.remove(key);
    if (object)
        m_objectProperties.insert_or_assign(std::string(key), ObjectProperty(object));
    else if (auto found = m_objectProperties.find(key); found != m_objectProperties.end())
        m_objectProperties.erase(found);
}

void PSSpecifier::setObjectProperty(Class cls, std::string_view key) {
    m_properties.remove(key);
    if (cls)
        m_objectProperties.insert_or_assign(std::string(key), ObjectProperty(cls));
    else if (auto found = m_objectProperties.find(key); found != m_objectProperties.end())
        m_objectProperties.erase(found);
}

id PSSpecifier::objectPropertyForKey(std::string_view key) const {
    auto found = m_objectProperties.find(key);
    if (found == m_objectProperties.end())
        return nullptr;
    const id* object = std::get_if<id>(&found->second);
    return object ? *object : nullptr;
}

Class PSSpecifier::classPropertyForKey(std::string_view key) const {
    auto found = m_objectProperties.find(key);
    if (found == m_objectProperties.end())
        return nullptr;
    const Class* cls = std::get_if<Class>(&found->second);
    return cls ? *cls : nullptr;
}

void PSSpecifier::setValues(Value values, Value titles) {
    m_values = std::move(values);
    m_titles = std::move(titles);
}
