#include "core/file_mode.h"

#include <gtest/gtest.h>

namespace brevora::core {
namespace {

TEST(FileMode, FileModeExtensionsAndTypeNames) {
  const struct {
    int16_t mode;
    const char* extension;
    const char* typeName;
  } cases[] = {{0, "tbr", "Tabulyn Workbook"},
               {1, "scv", "Scrivane Document"},
               {2, "pdb", ""},
               {3, "", ""},
               {-1, "", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(FileModeExtension(c.mode), c.extension) << c.mode;
    EXPECT_EQ(FileModeTypeName(c.mode), c.typeName) << c.mode;
  }
}

TEST(FileMode, FileModeExtensionsAddAndRemove) {
  const struct {
    const char* name;
    int16_t mode;
    const char* removed;
    const char* added;
  } cases[] = {
      {"Budget.TBR", 0, "Budget", "Budget.tbr"},
      {"Budget.tbr", 0, "Budget", "Budget.tbr"},
      {"Budget.xls", 0, "Budget.xls", "Budget.xls.tbr"},
      {"Notes", 1, "Notes", "Notes.scv"},
      {"Notes.Scv", 1, "Notes", "Notes.scv"},
      {"Slides.pdb", 2, "Slides", "Slides.pdb"},
      {"Budget.tbr", 1, "Budget.tbr", "Budget.tbr.scv"},
      {"tbr", 0, "tbr", "tbr.tbr"},  // no full stop: no extension to remove
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemoveFileModeExtension(c.name, c.mode), c.removed) << c.name;
    EXPECT_EQ(AddFileModeExtension(c.name, c.mode), c.added) << c.name;
  }
}

TEST(FileMode, FolderOfEachMode) {
  EXPECT_EQ(FileModeFolder(kTabulynMode), "tabrel");
  EXPECT_EQ(FileModeFolder(kScrivaneMode), "scriv");
  EXPECT_EQ(FileModeFolder(kSlidoraMode), "slidr");
  EXPECT_EQ(FileModeFolder(3), "");
}

}  // namespace
}  // namespace brevora::core
