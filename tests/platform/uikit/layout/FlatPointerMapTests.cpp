#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <unordered_map>
#include <vector>

#include "platform/uikit/layout/FlatPointerMap.h"

using platform::layout::FlatPointerMap;

// Inserts and erases at random against std::unordered_map: erasing shifts entries back along their
// probe chains, and a slip there loses entries that are still present.
TEST(LayoutFlatPointerMap, AgreesWithAStandardMapUnderChurn) {
    std::vector<std::unique_ptr<int>> objects;
    for (int i = 0; i < 600; ++i)
        objects.push_back(std::make_unique<int>(i));
    FlatPointerMap map;
    std::unordered_map<const void*, std::uint32_t> reference;
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> pick(0, objects.size() - 1);
    for (int step = 0; step < 40000; ++step) {
        const void* key = objects[pick(random)].get();
        if (random() % 3 == 0) {
            EXPECT_EQ(map.erase(key), reference.erase(key) == 1);
        } else {
            auto value = static_cast<std::uint32_t>(step);
            bool inserted = reference.emplace(key, value).second;
            EXPECT_EQ(map.insert(key, value), inserted);
        }
        ASSERT_EQ(map.size(), reference.size());
        if (step % 97 == 0) {
            for (const auto& object : objects) {
                auto it = reference.find(object.get());
                EXPECT_EQ(map.find(object.get()),
                          it == reference.end() ? FlatPointerMap::kMissing : it->second);
            }
        }
    }
    map.clear();
    EXPECT_EQ(map.find(objects.front().get()), FlatPointerMap::kMissing);
    EXPECT_FALSE(map.erase(objects.front().get()));
}
