#include "sheet/cell_index.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace brevora::sheet {
namespace {

Cell* Fake(uint32_t key) { return reinterpret_cast<Cell*>(static_cast<uintptr_t>(key) * 8); }

// Random inserts and erases agree with a std::map at every step, across growth
// and wrap-around of the probe sequences.
TEST(CellIndexTest, AgreesWithAMap) {
  std::mt19937 random(7);
  for (uint32_t range : {40u, 5000u, 300000u}) {
    CellIndex index;
    std::map<uint32_t, Cell*> model;
    std::uniform_int_distribution<uint32_t> key(1, range);
    for (int step = 0; step < 40000; ++step) {
      const uint32_t k = key(random);
      if (random() % 3 == 0) {
        index.Erase(k);
        model.erase(k);
      } else {
        EXPECT_EQ(index.Insert(k, Fake(k)), model.emplace(k, Fake(k)).second);
      }
      const uint32_t probe = key(random);
      const auto it = model.find(probe);
      ASSERT_EQ(index.Find(probe), it == model.end() ? nullptr : it->second)
          << range << " " << step;
    }
    for (const auto& [k, cell] : model) ASSERT_EQ(index.Find(k), cell);
  }
}

TEST(CellIndexTest, EmptyIndexFindsNothing) {
  CellIndex index;
  EXPECT_EQ(index.Find(5), nullptr);
  index.Erase(5);
  index.Reserve(100);
  EXPECT_EQ(index.Find(5), nullptr);
  EXPECT_TRUE(index.Insert(5, Fake(5)));
  EXPECT_FALSE(index.Insert(5, Fake(6)));
  EXPECT_EQ(index.Find(5), Fake(5));
}

}  // namespace
}  // namespace brevora::sheet
