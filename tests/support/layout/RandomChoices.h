#pragma once

#include <random>

#include "tests/support/layout/Choices.h"

namespace layout_testing {

class RandomChoices : public Choices {
public:
    explicit RandomChoices(unsigned seed) : m_random(seed) {}

    int pick(int low, int high) override {
        return std::uniform_int_distribution<int>(low, high)(m_random);
    }

private:
    std::mt19937 m_random;
};

} // namespace layout_testing
