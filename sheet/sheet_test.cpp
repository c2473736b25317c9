#include "sheet/sheet.h"

#include <gtest/gtest.h>

#include "platform/automation/call_by_name.h"
#include "platform/error/error.h"
#include "sheet/sheet_collection.h"
#include "testing/caught_error.h"

namespace brevora::sheet {
namespace {

using ::brevora::testing::NumberOf;

TEST(SheetTest, NewSheetIsAllZero) {
  Sheet sheet;
  for (int32_t i = 0; i <= 40; ++i) EXPECT_EQ(sheet.ColumnWidths(i), 0);
  EXPECT_EQ(sheet.FrozenCells(), (CellPlace{0, 0, 0, 0}));
  EXPECT_EQ(sheet.CurrentCell(), (CellPlace{0, 0, 0, 0}));
  EXPECT_EQ(sheet.NumResizeableColumns(), 40);
  EXPECT_EQ(sheet.Cells().Count(), 0);
}

TEST(SheetTest, ColumnWidthIndexes) {
  Ref<Sheet> sheet = MakeRef<Sheet>();
  sheet->SetColumnWidths(40, 77);
  EXPECT_EQ(sheet->ColumnWidths(40), 77);
  EXPECT_EQ(NumberOf([&] { sheet->SetColumnWidths(41, 5); }), 9);
  EXPECT_EQ(NumberOf([&] { sheet->SetColumnWidths(-1, 5); }), 9);
  EXPECT_EQ(NumberOf([&] { sheet->ColumnWidths(41); }), 9);
  for (int32_t i = 0; i < 40; ++i) EXPECT_EQ(sheet->ColumnWidths(i), 0);
  CallByName(sheet, "ColumnWidths", CallKind::Let, 3, 12);
  EXPECT_EQ(CallByName(sheet, "ColumnWidths", CallKind::Get, 3), Variant(int16_t{12}));
}

TEST(SheetTest, GetFrozenAndCurrentCellFillTheirArguments) {
  Ref<Sheet> sheet = MakeRef<Sheet>();
  CallByName(sheet, "SetFrozenCells", CallKind::Method, 1, 2, 3, 4);
  CallByName(sheet, "SetCurrentCell", CallKind::Method, 5, 6, 7, 8);
  Variant args[4];
  Variant result = sheet->Invoke("GetFrozenCells", CallKind::Method, Args(args));
  EXPECT_TRUE(result.IsEmpty());
  EXPECT_EQ(args[0], Variant(int16_t{1}));
  EXPECT_EQ(args[3], Variant(int16_t{4}));
  sheet->Invoke("GetCurrentCell", CallKind::Method, Args(args));
  EXPECT_EQ(args[0], Variant(int16_t{5}));
  EXPECT_EQ(args[3], Variant(int16_t{8}));
}

TEST(SheetCollectionTest, NamesAreKeysWithoutRegardToCase) {
  Ref<SheetCollection> sheets = MakeRef<SheetCollection>();
  Sheet& sheet = sheets->Add("Sheet1");
  EXPECT_EQ(sheet.name(), "Sheet1");
  EXPECT_EQ(&sheets->Item("sheet1"), &sheet);
  EXPECT_EQ(NumberOf([&] { sheets->Add("SHEET1"); }), 457);
  EXPECT_EQ(sheets->Count(), 1);
  EXPECT_EQ(NumberOf([&] { sheets->Item("Plan"); }), 5);
  EXPECT_EQ(NumberOf([&] { sheets->Item(2); }), 9);
}

// Renaming a sheet re-keys it at its place; a name another sheet has is refused,
// since two sheets of one name would make a saved workbook impossible to open.
TEST(SheetCollectionTest, RenamingReKeys) {
  Ref<SheetCollection> sheets = MakeRef<SheetCollection>();
  sheets->Add("Sheet1");
  Sheet& second = sheets->Add("Sheet2");
  sheets->Add("Sheet3");
  second.Setname("Plan");
  EXPECT_EQ(&sheets->Item("plan"), &second);
  EXPECT_EQ(&sheets->Item(2), &second);
  EXPECT_EQ(NumberOf([&] { sheets->Item("Sheet2"); }), 5);
  sheets->Add("Sheet2");  // the old name is free again

  EXPECT_EQ(NumberOf([&] { second.Setname("SHEET3"); }), 457);
  EXPECT_EQ(second.name(), "Plan");
  second.Setname("PLAN");  // a change of case keeps the key
  EXPECT_EQ(second.name(), "PLAN");
  EXPECT_EQ(&sheets->Item("Plan"), &second);

  Ref<Sheet> removed(&sheets->Item(1));
  sheets->Remove(Variant(1));
  removed->Setname("Sheet3");  // outside the collection: no clash
  EXPECT_EQ(sheets->Count(), 3);
  sheets.Reset();
  removed->Setname("x");
}

TEST(SheetCollectionTest, LateBoundMembers) {
  Ref<SheetCollection> sheets = MakeRef<SheetCollection>();
  Variant sheet = CallByName(sheets, "Add", CallKind::Method, "Data");
  CallByName(sheet.AsObject(), "name", CallKind::Let, "Budget");
  EXPECT_EQ(CallByName(sheets, "Item", CallKind::Get, "budget").AsObject(), sheet.AsObject());
  EXPECT_EQ(CallByName(sheets, "", CallKind::Get, 1).AsObject(), sheet.AsObject());
  EXPECT_EQ(CallByName(sheets, "NewEnum", CallKind::Get).AsArray().size(), 1u);
  Variant cells = CallByName(sheet.AsObject(), "Cells", CallKind::Get);
  EXPECT_EQ(
      NumberOf([&] { CallByName(sheet.AsObject(), "Cells", CallKind::Set, MakeRef<Sheet>()); }),
      13);
  EXPECT_EQ(CallByName(sheet.AsObject(), "Cells", CallKind::Get).AsObject(), cells.AsObject());
}

}  // namespace
}  // namespace brevora::sheet
