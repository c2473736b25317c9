#include "sheet/cell.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/automation/call_by_name.h"
#include "platform/error/error.h"
#include "sheet/cell_collection.h"
#include "sheet/sheet.h"
#include "testing/caught_error.h"

namespace brevora::sheet {
namespace {

using ::brevora::testing::ErrorOf;

constexpr int32_t kObj = static_cast<int32_t>(0x80040000);

TEST(CellCollectionTest, KeyIsFourDigitsOfRowAndOfColumn) {
  EXPECT_EQ(CellKey(7, 12), "00070012");
  EXPECT_EQ(CellKey(996, 254), "09960254");
}

TEST(CellCollectionTest, AddStoresUnderTheKeyAndEveryLookupFindsIt) {
  Ref<CellCollection> cells = MakeRef<CellCollection>();
  cells->Add(1, 1);
  Cell& cell = cells->Add(7, 12);
  EXPECT_EQ(cell.Row(), 7);
  EXPECT_EQ(cell.Col(), 12);
  EXPECT_EQ(&cells->ItemDirect(7, 12), &cell);
  EXPECT_EQ(&cells->Item("00070012"), &cell);
  EXPECT_EQ(&cells->Item(2), &cell);
  EXPECT_EQ(&cells->Item(Variant(2.0)), &cell);
  const AutomationError dup = ErrorOf([&] { cells->Add(7, 12); });
  EXPECT_EQ(dup.number(), 457);
  EXPECT_EQ(cells->Count(), 2);
}

TEST(CellCollectionTest, RowAndColumnLimits) {
  struct Case {
    int32_t row, col;
    int32_t addNumber;  // 0: accepted
    const char* addMessage;
  };
  const Case cases[] = {
      {996, 254, 0, ""},
      {1, 1, 0, ""},
      {997, 1, kObj + 258, "Invalid row value."},
      {0, 1, kObj + 258, "Invalid row value."},
      {1, 255, kObj + 258, "Invalid col value."},
      {1, 0, kObj + 258, "Invalid col value."},
  };
  for (const Case& c : cases) {
    Ref<CellCollection> cells = MakeRef<CellCollection>();
    if (c.addNumber == 0) {
      cells->Add(c.row, c.col);
      EXPECT_EQ(cells->Count(), 1);
      continue;
    }
    const AutomationError e = ErrorOf([&] { cells->Add(c.row, c.col); });
    EXPECT_EQ(e.number(), c.addNumber) << c.row << "," << c.col;
    EXPECT_EQ(e.description(), c.addMessage);
    EXPECT_EQ(e.source(), "tabrelpc");
    EXPECT_EQ(cells->Count(), 0);
  }

  // The cell's own properties have their own numbers and texts.
  Ref<CellCollection> cells = MakeRef<CellCollection>();
  Cell& cell = cells->Add(5, 5);
  struct Prop {
    std::function<void()> set;
    int32_t number;
    const char* message;
  };
  const Prop props[] = {
      {[&] { cell.SetRow(997); }, kObj + 258, "Invalid row value."},
      {[&] { cell.SetRow(0); }, kObj + 258, "Invalid row value."},
      {[&] { cell.SetCol(255); }, kObj + 257, "Invalid column value."},
      {[&] { cell.SetCol(0); }, kObj + 257, "Invalid column value."},
  };
  for (const Prop& p : props) {
    const AutomationError e = ErrorOf(p.set);
    EXPECT_EQ(e.number(), p.number);
    EXPECT_EQ(e.description(), p.message);
  }
  EXPECT_EQ(cell.Row(), 5);
  EXPECT_EQ(cell.Col(), 5);
  cell.SetRow(996);
  cell.SetCol(254);
  EXPECT_EQ(&cells->Item("09960254"), &cell);
}

TEST(CellCollectionTest, MissingKeysAndPositions) {
  Ref<CellCollection> cells = MakeRef<CellCollection>();
  cells->Add(1, 1);
  EXPECT_EQ(ErrorOf([&] { cells->ItemDirect(2, 2); }).number(), 5);
  EXPECT_EQ(ErrorOf([&] { cells->Item("00020002"); }).number(), 5);
  EXPECT_EQ(ErrorOf([&] { cells->Item("abc"); }).number(), 5);
  EXPECT_EQ(ErrorOf([&] { cells->Item(0); }).number(), 9);
  EXPECT_EQ(ErrorOf([&] { cells->Item(2); }).number(), 9);
  EXPECT_EQ(ErrorOf([&] { cells->Remove(2); }).number(), 9);
  EXPECT_EQ(ErrorOf([&] { cells->Remove("00090009"); }).number(), 5);
  EXPECT_EQ(cells->Count(), 1);
}

// A cell moved through Row or Col is found under its new key only, and a move
// onto a taken position is refused: two cells at one place would make a saved
// workbook impossible to open again.
TEST(CellCollectionTest, MovingACellReKeysIt) {
  Ref<CellCollection> cells = MakeRef<CellCollection>();
  Cell& a = cells->Add(1, 1);
  Cell& b = cells->Add(2, 2);
  a.SetRow(3);
  EXPECT_EQ(&cells->ItemDirect(3, 1), &a);
  EXPECT_EQ(ErrorOf([&] { cells->ItemDirect(1, 1); }).number(), 5);
  a.SetCol(4);
  EXPECT_EQ(&cells->Item("00030004"), &a);

  const AutomationError e = ErrorOf([&] {
    b.SetRow(3);
    b.SetCol(4);
  });
  EXPECT_EQ(e.number(), 457);
  EXPECT_EQ(b.Row(), 3);  // the row move was fine; the column move was refused
  EXPECT_EQ(b.Col(), 2);
  EXPECT_EQ(&cells->ItemDirect(3, 2), &b);
  EXPECT_EQ(&cells->ItemDirect(3, 4), &a);
  // Setting a cell's own position again is no move.
  a.SetRow(3);
  EXPECT_EQ(cells->Count(), 2);
  // The old place is free again.
  cells->Add(1, 1);
  EXPECT_EQ(cells->Count(), 3);
}

TEST(CellCollectionTest, RemovedCellsAndEndedCollectionsLetCellsGo) {
  Ref<CellCollection> cells = MakeRef<CellCollection>();
  Ref<Cell> kept(&cells->Add(1, 1));
  cells->Add(1, 2);
  cells->Remove("00010001");
  EXPECT_EQ(cells->Count(), 1);
  kept->SetRow(1);
  kept->SetCol(2);  // no longer in the collection: no clash
  cells->Add(1, 1);

  Ref<Cell> survivor(&cells->Item(1));
  cells.Reset();
  survivor->SetRow(9);  // its collection has ended
  EXPECT_EQ(survivor->Row(), 9);
}

TEST(CellCollectionTest, RemoveByPositionKeepsOrder) {
  Ref<CellCollection> cells = MakeRef<CellCollection>();
  cells->Add(1, 1);
  cells->Add(1, 2);
  cells->Add(1, 3);
  cells->Remove(Variant(2));
  EXPECT_EQ(cells->Item(2).Col(), 3);
  EXPECT_EQ(ErrorOf([&] { cells->ItemDirect(1, 2); }).number(), 5);
}

TEST(CellTest, FormulaLength) {
  Ref<CellCollection> cells = MakeRef<CellCollection>();
  Cell& cell = cells->Add(1, 1);
  cell.SetFormula(std::string(75, '='));
  EXPECT_EQ(cell.Formula().size(), 75u);
  const AutomationError e = ErrorOf([&] { cell.SetFormula(std::string(76, 'x')); });
  EXPECT_EQ(e.number(), kObj + 262);
  EXPECT_EQ(e.description(), "Formula can only be 75 characters.");
  EXPECT_EQ(cell.Formula(), std::string(75, '='));
}

TEST(CellTest, FlagsAreBitsOfTheFormatWord) {
  Ref<CellCollection> cells = MakeRef<CellCollection>();
  Cell& cell = cells->Add(1, 1);
  cell.SetFormatRaw(0xF0000022);
  cell.SetIsError(true);
  EXPECT_EQ(cell.FormatBits(), 0xF0040022u);
  cell.SetIsError(false);
  EXPECT_EQ(cell.FormatBits(), 0xF0000022u);
  cell.SetValueText(true);
  cell.SetIsCalculated(true);
  cell.SetIsChart(true);
  EXPECT_EQ(cell.FormatBits(), 0xF0C10022u);
  cell.Format()->SetRaw(cell.Format()->Raw());
  EXPECT_TRUE(cell.ValueIsText());
  EXPECT_TRUE(cell.IsCalculated());
  EXPECT_TRUE(cell.IsChart());
  EXPECT_FALSE(cell.IsError());
}

TEST(CellTest, FormatObjectsAreShared) {
  Ref<CellCollection> cells = MakeRef<CellCollection>();
  Cell& a = cells->Add(1, 1);
  Cell& b = cells->Add(1, 2);
  a.SetFormatRaw(65);
  const Ref<CellFormat> format = a.Format();  // made from the cell's word
  EXPECT_EQ(format->Raw(), 65);
  b.SetFormat(format);
  format->SetBold(true);
  EXPECT_EQ(a.FormatBits(), 73u);
  EXPECT_EQ(b.FormatBits(), 73u);
  b.SetIsError(true);
  EXPECT_TRUE(a.IsError());
}

TEST(CellTest, LateBoundFormatSetTakesOnlyCellFormats) {
  Ref<CellCollection> cells = MakeRef<CellCollection>();
  Ref<Cell> cell(&cells->Add(1, 1));
  Ref<CellFormat> format = MakeRef<CellFormat>(0x41);
  CallByName(cell, "Format", CallKind::Set, format);
  EXPECT_EQ(cell->Format(), format);
  EXPECT_EQ(ErrorOf([&] { CallByName(cell, "Format", CallKind::Set, MakeRef<Sheet>()); }).number(),
            13);
  EXPECT_EQ(ErrorOf([&] { CallByName(cell, "Format", CallKind::Set, 5); }).number(), 424);
  EXPECT_EQ(cell->Format(), format);
}

TEST(CellTest, LateBoundCollectionMembers) {
  Ref<CellCollection> cells = MakeRef<CellCollection>();
  Variant added = CallByName(cells, "Add", CallKind::Method, 3, 4);
  CallByName(cells, "Add", CallKind::Method, 1, 1);
  CallByName(added.AsObject(), "Value", CallKind::Let, "abc");
  EXPECT_EQ(CallByName(cells, "Count", CallKind::Get), Variant(int32_t{2}));
  Variant item = CallByName(cells, "", CallKind::Get, "00030004");
  EXPECT_EQ(CallByName(item.AsObject(), "Value", CallKind::Get), Variant("abc"));
  Variant direct = CallByName(cells, "ItemDirect", CallKind::Get, 3, 4);
  EXPECT_EQ(direct.AsObject(), added.AsObject());
  Variant all = CallByName(cells, "NewEnum", CallKind::Get);
  ASSERT_EQ(all.AsArray().size(), 2u);
  EXPECT_EQ(all.AsArray()[0].AsObject(), added.AsObject());
  CallByName(cells, "Remove", CallKind::Method, 1);
  EXPECT_EQ(cells->Count(), 1);
}

}  // namespace
}  // namespace brevora::sheet
