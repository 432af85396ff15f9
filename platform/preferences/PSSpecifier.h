#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/preferences/PSCellType.h"
#include "platform/runtime/NSObject.h"

// One row of a preferences list. Its property-list keys live in `properties()`, which callers may
// change in place. Objects that are not property-list data (a class named by "cellClass", a
// controller) live beside them in a small side table: a key holds either a plain property or an
// object property, never both, so whoever reads "cellClass" finds one answer.
class PSSpecifier : public NSObject {
public:
    // What a row's control sends to its target to store and read its value.
    static constexpr std::string_view defaultSetter = "setPreferenceValue:specifier:";
    static constexpr std::string_view defaultGetter = "readPreferenceValue:";

    // A row of the given cell type; setSelector and getSelector may be empty for rows without a value.
    static std::shared_ptr<PSSpecifier> preferenceSpecifierNamed(std::string_view name, const id& target,
                                                                 std::string_view setSelector,
                                                                 std::string_view getSelector,
                                                                 Class detailClass, PSCellType cellType,
                                                                 Class editPaneClass);
    static std::shared_ptr<PSSpecifier> groupSpecifierWithName(std::string_view name);
    static std::shared_ptr<PSSpecifier> emptyGroupSpecifier();

    // The label shown on the row (a group's title).
    const std::string& name() const { return m_name; }
    void setName(std::string name) { m_name = std::move(name); }
    // The row's identifier; the label until one is set.
    const std::string& identifier() const { return m_identifier ? *m_identifier : m_name; }
    void setIdentifier(std::string identifier) { m_identifier = std::move(identifier); }

    id target() const { return m_target.lock(); }
    void setTarget(const id& target) { m_target = target; }

    PSCellType cellType() const { return m_cellType; }

    // A dictionary Value of the row's property-list keys.
    Value& properties() { return m_properties; }
    const Value& properties() const { return m_properties; }
    // The null Value when the row has no such key.
    Value propertyForKey(std::string_view key) const { return m_properties[key]; }
    // Stores a plain property; a null value removes the key. Drops an object property of that key.
    void setProperty(Value value, std::string_view key);

    // Object properties; setting one drops the plain property of that key. A null object or Nil
    // class removes the entry.
    void setObjectProperty(const id& object, std::string_view key);
    void setObjectProperty(Class cls, std::string_view key);
    // nullptr when the key holds no object (or holds a class).
    id objectPropertyForKey(std::string_view key) const;
    // nullptr when the key holds no class (or holds an object).
    Class classPropertyForKey(std::string_view key) const;

    // The choices of a list row and what they are called, in the same order.
    const Value& values() const { return m_values; }
    const Value& titles() const { return m_titles; }
    void setValues(Value values, Value titles);

    // Selectors sent to the target: `action` when the row is tapped, `setter`/`getter` by its control.
    std::string action;
    std::string setter;
    std::string getter;
    // The page a link row opens, and the pane that edits the row's value (kept, never used here).
    Class detailControllerClass = nullptr;
    Class editPaneClass = nullptr;

private:
    using ObjectProperty = std::variant<id, Class>;

    std::string m_name;
    std::optional<std::string> m_identifier;
    std::weak_ptr<NSObject> m_target;
    PSCellType m_cellType = PSDefaultCell;
    Value m_properties = Value::dictionary();
    std::map<std::string, ObjectProperty, std::less<>> m_objectProperties;
    Value m_values;
    Value m_titles;
};

// A page's rows in display order; group rows open sections.
using PSSpecifierList = std::vector<std::shared_ptr<PSSpecifier>>;
