// The handheld workbook block: the default blocks of every version as golden
// byte images laid out by hand, the fields in the handheld's byte order, the
// version-0 conversion, and blocks that do not hold together.
#include <gtest/gtest.h>

#include <cstring>

#include "conduit/workbook_block.h"

namespace brevora::tabrel {
namespace {

// A block built byte by byte at the offsets of the layout tables.
class Golden {
 public:
  explicit Golden(std::size_t size) : bytes_(size, 0) {}
  Golden& W(std::size_t at, uint16_t v) {
    bytes_.at(at) = static_cast<uint8_t>(v >> 8);
    bytes_.at(at + 1) = static_cast<uint8_t>(v);
    return *this;
  }
  Golden& D(std::size_t at, uint32_t v) {
    W(at, static_cast<uint16_t>(v >> 16));
    return W(at + 2, static_cast<uint16_t>(v));
  }
  Golden& B(std::size_t at, uint8_t v) {
    bytes_.at(at) = v;
    return *this;
  }
  Golden& Text(std::size_t at, const std::string& text) {
    std::memcpy(&bytes_.at(at), text.data(), text.size());
    return *this;
  }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

struct Style {
  uint32_t flags;
  const char* name;
};

void Styles(Golden& g, std::size_t at, const std::vector<Style>& styles) {
  for (std::size_t i = 0; i < styles.size(); ++i)
    g.D(at + 20 * i, styles[i].flags).Text(at + 20 * i + 4, styles[i].name);
}

const std::vector<Style> kStyles = {{0x41, "Text"},
                                    {0x48, "Bold Text"},
                                    {0x10000022, "Number"},
                                    {0x20001082, "Money"},
                                    {0x20000202, "Percentage"},
                                    {0x4C, "Col Header"},
                                    {0, ""},
                                    {0, ""},
                                    {0, ""},
                                    {0, ""},
                                    {0, ""},
                                    {0, ""},
                                    {0, ""},
                                    {0, ""},
                                    {0, ""},
                                    {0, "Edit Styles..."}};

std::vector<Style> Styles67(bool dates) {
  std::vector<Style> s = kStyles;
  s[2].flags = 0xF0000022;
  s[4].flags = 0xF0000202;
  if (dates) {
    s[6] = {0x402, "Date"};
    s[7] = {0x802, "Time"};
    s[8] = {0xC02, "Date & Time"};
  }
  return s;
}

void Start(Golden& g, const char* sheet1) {
  g.W(0, 0x7FFF).Text(2, "Clipboard").Text(18, sheet1);
  for (int i = 0; i < 16; ++i) g.B(258 + i, static_cast<uint8_t>(i));
  g.B(274, 1);
}

std::vector<uint8_t> GoldenV4(uint8_t category) {
  Golden g(968);
  Start(g, "01 Sheet1");
  const uint16_t widths[] = {16, 48, 48, 48, 16, 16, 16, 16, 16, 16};
  for (int i = 0; i < 10; ++i) g.W(278 + 2 * i, widths[i]);
  g.D(300, 22).D(304, 0x10000022).Text(308, "$").W(310, 1);
  for (int s = 0; s < 16; ++s)
    g.B(312 + 20 * s + 6, 1).B(312 + 20 * s + 7, 1).W(312 + 20 * s + 16, 4);
  g.B(640, category);
  Styles(g, 644, kStyles);
  g.W(964, 2);
  return g.bytes();
}

std::vector<uint8_t> GoldenV5(uint16_t version, uint8_t category) {
  Golden g(1748);
  Start(g, version == 5 ? "01 Sheet1" : "Sheet1");
  g.D(280, 22).D(284, version == 5 ? 0x10000022 : 0xF0000022).Text(288, "$").W(290, 1);
  for (int s = 0; s < 16; ++s)
    g.W(292 + 70 * s + 12, 1)
        .W(292 + 70 * s + 14, 1)
        .W(292 + 70 * s + 24, 4)
        .W(292 + 70 * s + 26, 47);
  g.B(1420, category);
  Styles(g, 1424, version == 5 ? kStyles : Styles67(version == 7));
  g.W(1744, 2);
  return g.bytes();
}

std::vector<uint8_t> GoldenV8(uint8_t category) {
  Golden g(2524);
  Start(g, "01 Sheet1");
  g.D(280, 22).D(284, 0x10000022).Text(288, "$").W(290, 1);
  for (int s = 0; s < 16; ++s)
    g.W(292 + 102 * s + 12, 1)
        .W(292 + 102 * s + 14, 1)
        .W(292 + 102 * s + 16, 4)
        .W(292 + 102 * s + 18, 47);
  g.B(1932, category);
  Styles(g, 1936, kStyles);
  g.W(2256, 2);
  return g.bytes();
}

TEST(WorkbookBlock, TheDefaultBlockOfEveryVersion) {
  EXPECT_EQ(WorkbookBlock::Defaults(4, 2).bytes(), GoldenV4(2));
  EXPECT_EQ(WorkbookBlock::Defaults(5, 3).bytes(), GoldenV5(5, 3));
  EXPECT_EQ(WorkbookBlock::Defaults(6, 0).bytes(), GoldenV5(6, 0));
  EXPECT_EQ(WorkbookBlock::Defaults(7, 1).bytes(), GoldenV5(7, 1));
  EXPECT_EQ(WorkbookBlock::Defaults(8, 4).bytes(), GoldenV8(4));
  EXPECT_EQ(WorkbookBlock::Defaults(9, 4).bytes(), GoldenV8(4));
}

// Every field of the version-8 block read from its own bytes.
TEST(WorkbookBlock, FieldsAreReadInTheHandheldsByteOrder) {
  Golden g(2524);
  g.W(0, 0x1234).Text(2 + 16 * 3, "Third").B(258 + 5, 0x55).B(274, 7);
  g.D(280, 0x01020304).D(284, 0xF0000022).Text(288, "kr").W(290, 0x0203);
  const std::size_t rec = 292 + 102 * 2;  // sheet record 2
  g.W(rec + 0, 0x0102)
      .W(rec + 14, 0x0708)
      .W(rec + 16, 9)
      .W(rec + 18, 0x0A0B)
      .W(rec + 20, 0x0C0D)
      .W(rec + 98, 0x0E0F);
  g.B(rec + 100, 0x34).B(rec + 101, 0x12);  // the last word is not converted
  g.D(1924, 0xA1A2A3A4)
      .D(1928, 0xB1B2B3B4)
      .B(1932, 9)
      .B(1933, 0xFF)
      .D(1936 + 20 * 15, 0xC1C2C3C4)
      .Text(1940 + 20 * 15, "Last");
  g.W(2256, 0x0506).Text(2260, "/home/u/Plan.xls").W(2516, 2).W(2518, 3).D(2520, 0xD1D2D3D4);
  const auto block = WorkbookBlock::Parse(WorkbookBlock::LayoutOf(9), g.bytes());
  ASSERT_TRUE(block);
  EXPECT_EQ(block->headerWord(), 0x1234);
  EXPECT_EQ(block->Name(3), "Third");
  EXPECT_EQ(block->SheetId(5), 0x55);
  EXPECT_EQ(block->LastSheetId(), 7);
  EXPECT_EQ(block->Properties(), 0x01020304u);
  EXPECT_EQ(block->DefaultStyleFlags(), 0xF0000022u);
  EXPECT_EQ(block->Currency(0), 'k');
  EXPECT_EQ(block->Currency(1), 'r');
  EXPECT_EQ(block->CurrentSheet(), 0x0203);
  EXPECT_EQ(block->Setting(2, 0), 0x0102);
  EXPECT_EQ(block->Setting(2, 7), 0x0708);
  EXPECT_EQ(block->SheetSetting(2), 9);
  EXPECT_EQ(block->DefaultWidth(2), 0x0A0B);
  EXPECT_EQ(block->Width(2, 0), 0x0C0D);
  EXPECT_EQ(block->Width(2, 39), 0x0E0F);
  EXPECT_EQ(block->LastWord(2), 0x1234);
  EXPECT_EQ(block->ReservedDouble(0), 0xA1A2A3A4u);
  EXPECT_EQ(block->ReservedDouble(1), 0xB1B2B3B4u);
  EXPECT_EQ(block->CategoryId(), 9);
  EXPECT_EQ(block->Modified(), 0xFF);
  EXPECT_EQ(block->Style(15), (BlockStyle{0xC1C2C3C4, "Last"}));
  EXPECT_EQ(block->UserStyleCount(), 0x0506);
  EXPECT_EQ(block->LinkPath(), "/home/u/Plan.xls");
  EXPECT_EQ(block->LinkMethod(), 2);
  EXPECT_EQ(block->LinkOption(), 3);
  EXPECT_EQ(block->LinkDate(), 0xD1D2D3D4u);
  EXPECT_EQ(block->bytes(), g.bytes());
}

TEST(WorkbookBlock, TheOlderSheetRecords) {
  Golden v4(968);
  const std::size_t r4 = 312 + 20 * 1;
  v4.B(r4, 0x11)
      .B(r4 + 7, 0x22)
      .D(r4 + 8, 0x01020304)
      .D(r4 + 12, 0x05060708)
      .W(r4 + 16, 9)
      .D(632, 7)
      .D(636, 8);
  v4.W(278 + 18, 0x3344);
  const auto b4 = WorkbookBlock::Parse(WorkbookBlock::LayoutOf(4), v4.bytes());
  ASSERT_TRUE(b4);
  EXPECT_EQ(b4->Setting(1, 0), 0x11);
  EXPECT_EQ(b4->Setting(1, 7), 0x22);
  EXPECT_EQ(b4->SheetDouble(1, 0), 0x01020304u);
  EXPECT_EQ(b4->SheetDouble(1, 1), 0x05060708u);
  EXPECT_EQ(b4->SheetSetting(1), 9);
  EXPECT_EQ(b4->ColumnWidth(9), 0x3344);
  EXPECT_EQ(b4->ReservedDouble(1), 8u);
  EXPECT_EQ(b4->DefaultWidth(1), 0);
  EXPECT_EQ(b4->Width(1, 0), 0);

  Golden v5(1748);
  const std::size_t r5 = 292 + 70 * 15;
  v5.W(r5 + 2, 31999)
      .D(r5 + 16, 0x0A0B0C0D)
      .D(r5 + 20, 3)
      .W(r5 + 24, 5)
      .W(r5 + 26, 60)
      .W(r5 + 28 + 38, 99);
  const auto b5 = WorkbookBlock::Parse(WorkbookBlock::LayoutOf(6), v5.bytes());
  ASSERT_TRUE(b5);
  EXPECT_EQ(b5->Setting(15, 1), 31999);
  EXPECT_EQ(b5->SheetDouble(15, 0), 0x0A0B0C0Du);
  EXPECT_EQ(b5->SheetDouble(15, 1), 3u);
  EXPECT_EQ(b5->SheetSetting(15), 5);
  EXPECT_EQ(b5->DefaultWidth(15), 60);
  EXPECT_EQ(b5->Width(15, 19), 99);
  EXPECT_EQ(b5->Width(15, 20), 0);  // a version-5 record has 20 widths
}

TEST(WorkbookBlock, ASettingAbove32000ReadsAs1) {
  for (uint16_t version : {5, 9}) {
    const std::size_t size = version == 5 ? 1748 : 2524;
    const std::size_t record = version == 5 ? 70 : 102;
    Golden g(size);
    g.W(292 + record * 4 + 6, 40000)
        .W(292 + record * 4 + 8, 32000)
        .W(292 + record * 4 + 16 + (version == 5 ? 8 : 2), 40000);
    const auto block = WorkbookBlock::Parse(WorkbookBlock::LayoutOf(version), g.bytes());
    ASSERT_TRUE(block);
    EXPECT_EQ(block->Setting(4, 3), 1) << version;
    EXPECT_EQ(block->Setting(4, 4), 32000) << version;
    // Only the eight settings are checked.
    EXPECT_EQ(block->SheetSetting(4) == 40000 || block->DefaultWidth(4) == 40000, true) << version;
  }
  // Version 4 keeps its settings in bytes: nothing to correct.
  Golden v4(968);
  v4.B(312 + 3, 250);
  EXPECT_EQ(WorkbookBlock::Parse(WorkbookBlock::LayoutOf(4), v4.bytes())->Setting(0, 3), 250);
}

TEST(WorkbookBlock, BlocksThatDoNotHoldTogether) {
  struct Case {
    uint16_t version;
    std::size_t size;
    bool read;
  };
  const Case cases[] = {
      {4, 967, false},  {4, 968, true},   {4, 971, true},  {4, 972, false},
      {5, 1747, false}, {6, 1748, true},  {7, 968, false}, {8, 2523, false},
      {9, 2527, true},  {9, 2528, false}, {9, 0, false},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> bytes(c.size, 0);
    EXPECT_EQ(WorkbookBlock::Parse(WorkbookBlock::LayoutOf(c.version), bytes).has_value(), c.read)
        << c.version << " " << c.size;
  }
  // A link path without its NUL.
  Golden g(2524);
  g.Text(2260, std::string(256, 'p'));
  EXPECT_FALSE(WorkbookBlock::Parse(WorkbookBlock::LayoutOf(9), g.bytes()));
  g.B(2260 + 255, 0);
  const auto block = WorkbookBlock::Parse(WorkbookBlock::LayoutOf(9), g.bytes());
  ASSERT_TRUE(block);
  EXPECT_EQ(block->LinkPath(), std::string(255, 'p'));
}

TEST(WorkbookBlock, NamesAreCutTo15Bytes) {
  WorkbookBlock block = WorkbookBlock::Defaults(9, 0);
  block.SetName(2, "A rather long sheet name");
  EXPECT_EQ(block.Name(2), "A rather long s");
  EXPECT_EQ(block.bytes()[2 + 16 * 2 + 15], 0);
  // A slot whose 16 bytes hold no NUL reads as its 16 bytes.
  Golden g(2524);
  g.Text(2 + 16 * 1, "SixteenCharacter");
  EXPECT_EQ(WorkbookBlock::Parse(WorkbookBlock::LayoutOf(9), g.bytes())->Name(1),
            "SixteenCharacter");
  EXPECT_FALSE(block.SetLinkPath(std::string(256, 'x')));
  EXPECT_TRUE(block.SetLinkPath(std::string(255, 'x')));
}

TEST(WorkbookBlock, TheVersion0BlockBecomesAVersion4One) {
  Golden v0(313);
  v0.W(0, 0x7FFE).Text(2, "Clipboard").Text(18, "Budget").B(258, 0).B(259, 1).B(274, 1);
  for (int i = 0; i < 10; ++i) v0.W(280 + 2 * i, static_cast<uint16_t>(20 + i));
  v0.D(300, 0x00001016).B(304, 2).D(305, 0x10000041).D(309, 0xCAFEF00D);
  const auto block = WorkbookBlock::FromVersion0(v0.bytes());
  ASSERT_TRUE(block);
  std::vector<uint8_t> expected = GoldenV4(2);
  std::copy(v0.bytes().begin(), v0.bytes().begin() + 275, expected.begin());
  std::copy(v0.bytes().begin() + 280, v0.bytes().begin() + 300, expected.begin() + 278);
  std::copy(v0.bytes().begin() + 300, v0.bytes().begin() + 304, expected.begin() + 300);
  std::copy(v0.bytes().begin() + 305, v0.bytes().begin() + 309, expected.begin() + 304);
  std::copy(v0.bytes().begin() + 309, v0.bytes().begin() + 313, expected.begin() + 636);
  EXPECT_EQ(block->bytes(), expected);
  EXPECT_EQ(block->Name(1), "Budget");
  EXPECT_EQ(block->CategoryId(), 2);
  EXPECT_EQ(block->Properties(), 0x1016u);
  EXPECT_EQ(block->DefaultStyleFlags(), 0x10000041u);
  EXPECT_EQ(block->ColumnWidth(9), 29);
  EXPECT_EQ(block->Modified(), 0);
  EXPECT_FALSE(WorkbookBlock::FromVersion0(std::vector<uint8_t>(312, 0)));
  EXPECT_FALSE(WorkbookBlock::FromVersion0(std::vector<uint8_t>(968, 0)));
}

}  // namespace
}  // namespace brevora::tabrel
