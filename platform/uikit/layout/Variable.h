#pragma once

#include <memory>
#include <string>

namespace platform::layout {

// A named unknown of the layout system. Copies are cheap handles to the same variable; the solver
// writes the solved value into it on updateVariables(). Like every UIKit object it belongs to the
// main thread.
class Variable {
public:
    Variable() : m_data(std::make_shared<Data>()) {}
    explicit Variable(std::string name) : m_data(std::make_shared<Data>(Data{std::move(name), 0.0})) {}
    // Copy only: a moved-from handle would be empty, and every handle must stay usable.
    Variable(const Variable&) = default;
    Variable& operator=(const Variable&) = default;

    const std::string& name() const { return m_data->name; }
    void setName(std::string name) { m_data->name = std::move(name); }
    double value() const { return m_data->value; }
    void setValue(double value) { m_data->value = value; }

    bool sameAs(const Variable& other) const { return m_data == other.m_data; }
    // Stable for the life of the variable; the solver keys its tables on it.
    const void* identity() const { return m_data.get(); }

private:
    struct Data {
        std::string name;
        double value = 0.0;
    };
    std::shared_ptr<Data> m_data;
};

} // namespace platform::layout
