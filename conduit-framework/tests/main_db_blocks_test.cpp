// The main database's two blocks: the category block and the sync state, byte
// for byte, and the category lookups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conduit-framework/category_block.h"
#include "conduit-framework/sync_state.h"

namespace brevora::conduit {
namespace {

std::vector<uint8_t> Label(const std::string& text) {
  std::vector<uint8_t> bytes(16, 0);
  std::copy(text.begin(), text.end(), bytes.begin());
  return bytes;
}

TEST(CategoryBlock, TheDefaultBlockByteForByte) {
  std::vector<uint8_t> golden = {0x00, 0x06};
  for (const char* label : {"Unfiled", "Business", "Personal"}) {
    const auto bytes = Label(label);
    golden.insert(golden.end(), bytes.begin(), bytes.end());
  }
  golden.resize(2 + 256, 0);
  for (uint8_t id = 0; id < 16; ++id) golden.push_back(id);
  golden.insert(golden.end(), {0x02, 0x00, 0x00, 0x00});
  ASSERT_EQ(golden.size(), 278u);
  EXPECT_EQ(CategoryBlock::Defaults().Bytes(), golden);
  EXPECT_EQ(CategoryBlock::Parse(golden), CategoryBlock::Defaults());
}

TEST(CategoryBlock, WordsAreBigEndianAndLengthsAreChecked) {
  CategoryBlock block = CategoryBlock::Defaults();
  block.renamed = 0x1234;
  block.reserved = 0xABCD;
  block.labels[15] = "Fifteen chars!!";
  block.ids[15] = 200;
  block.lastId = 200;
  std::vector<uint8_t> bytes = block.Bytes();
  EXPECT_EQ(bytes[0], 0x12);
  EXPECT_EQ(bytes[1], 0x34);
  EXPECT_EQ(bytes[276], 0xAB);
  EXPECT_EQ(bytes[277], 0xCD);
  EXPECT_EQ(CategoryBlock::Parse(bytes), block);
  // Up to three bytes of alignment padding are accepted, nothing else.
  for (std::size_t size : {277u, 282u, 0u, 10u}) {
    std::vector<uint8_t> other = bytes;
    other.resize(size, 0);
    EXPECT_EQ(CategoryBlock::Parse(other), std::nullopt) << size;
  }
  bytes.resize(281, 0);
  EXPECT_EQ(CategoryBlock::Parse(bytes), block);
  // A label without its NUL is read to 15 characters, never past its field.
  bytes = block.Bytes();
  std::fill(bytes.begin() + 2, bytes.begin() + 18, 'x');
  EXPECT_EQ(CategoryBlock::Parse(bytes)->labels[0], std::string(15, 'x'));
}

TEST(CategoryBlock, LookupsIgnoreCase) {
  CategoryBlock block = CategoryBlock::Defaults();
  EXPECT_EQ(block.FindCategory("BUSINESS"), 1);
  EXPECT_EQ(block.labels[1], "Business");  // the spelling stays
  EXPECT_EQ(block.FindCategory("Work"), 3);
  EXPECT_EQ(block.labels[3], "Work");
  EXPECT_EQ(block.IndexOf("work"), 3u);
  EXPECT_EQ(block.IndexOf("Missing"), 0u);
  EXPECT_EQ(block.FindCategory(std::string(16, 'n')), std::nullopt);
  EXPECT_EQ(block.FindCategory(""), std::nullopt);
  for (int i = 4; i < 16; ++i) ASSERT_TRUE(block.FindCategory("C" + std::to_string(i)));
  EXPECT_EQ(block.FindCategory("Seventeenth"), std::nullopt);  // all 16 in use
  EXPECT_TRUE(block.RemoveCategory("work"));
  EXPECT_EQ(block.labels[3], "");
  EXPECT_FALSE(block.RemoveCategory("work"));
  EXPECT_FALSE(block.RemoveCategory("Unfiled"));
  EXPECT_EQ(block.labels[0], "Unfiled");
}

TEST(CategoryBlock, NamesOfIds) {
  CategoryBlock block = CategoryBlock::Defaults();
  block.ids[2] = 9;  // "Personal" has ID 9
  block.labels[9] = "";
  struct Case {
    uint8_t id;
    bool unnamedIsFirst;
    std::string name;
  };
  const Case cases[] = {
      {1, false, "Business"}, {9, false, "Personal"}, {2, false, "Personal"}, {5, false, ""},
      {200, false, ""},       {5, true, "Unfiled"},   {200, true, "Unfiled"}, {9, true, "Personal"},
  };
  for (const Case& c : cases) EXPECT_EQ(block.NameOf(c.id, c.unnamedIsFirst), c.name) << int(c.id);
}

TEST(SyncState, FiveLittleEndianWords) {
  const SyncState state{1, 0, 3, 1, 0x0102};
  const std::vector<uint8_t> golden = {1, 0, 0, 0, 3, 0, 1, 0, 2, 1};
  EXPECT_EQ(state.Bytes(), golden);
  EXPECT_EQ(SyncState::Parse(golden), state);
  std::vector<uint8_t> padded = golden;
  padded.resize(12, 0);
  EXPECT_EQ(SyncState::Parse(padded), state);
  for (std::size_t size : {0u, 9u, 14u}) {
    std::vector<uint8_t> other = golden;
    other.resize(size, 0);
    EXPECT_EQ(SyncState::Parse(other), std::nullopt) << size;
  }
}

}  // namespace
}  // namespace brevora::conduit
