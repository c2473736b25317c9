// The window's looks by role and file mode, the start mode of the stand-alone
// window and the help of each role, as tables.
#include "frontend/window_role.h"

#include <gtest/gtest.h>

#include "frontend/frontend_test_support.h"

namespace brevora::frontend {
namespace {

TEST(WindowRole, RoleAndModeTable) {
  struct Case {
    bool standAlone;
    bool save;
    int16_t mode;
    const char* caption;
    const char* ok;
    bool bar, nameBox, columns, openAsTemplate, options;
  };
  const Case cases[] = {
      {true, false, 0, "Brevora Desktop", "Open", true, false, true, false, false},
      {true, false, 1, "Brevora Desktop", "Open", true, false, true, false, false},
      {true, false, 2, "Brevora Desktop", "Open", true, false, true, false, false},
      {false, false, 0, "Open Tabulyn Workbook", "Open", false, true, false, true, false},
      {false, false, 1, "Open Scrivane Document", "Open", false, true, false, false, false},
      {false, false, 2, "Open Slidora Presentation", "Open", false, true, false, false, true},
      {false, true, 0, "Save Tabulyn Workbook", "Save", false, true, false, false, false},
      {false, true, 1, "Save Scrivane Document", "Save", false, true, false, false, false},
      {false, true, 2, "Save Slidora Presentation", "Save", false, true, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption + std::string(" mode ") + std::to_string(c.mode));
    const RoleView v = RoleViewOf(c.standAlone, c.save, c.mode, "Brevora Desktop");
    EXPECT_EQ(v.caption, c.caption);
    EXPECT_EQ(v.okCaption, c.ok);
    EXPECT_EQ(v.fileModeBar, c.bar);
    EXPECT_EQ(v.nameBox, c.nameBox);
    EXPECT_EQ(v.linkColumns, c.columns);
    EXPECT_EQ(v.openAsTemplate, c.openAsTemplate);
    EXPECT_EQ(v.options, c.options);
    EXPECT_EQ(v.sideBar, c.standAlone);
    EXPECT_EQ(v.statusBar, c.standAlone);
  }
  EXPECT_EQ(RoleViewOf(true, false, 0, "Brevora Server").caption, "Brevora Server");
}

TEST(WindowRole, FileModeTable) {
  struct Case {
    int16_t mode;
    const char *add, *del, *column, *help;
    int maximum;
    bool excel, word, powerPoint;
  };
  const Case cases[] = {
      {0, "Add Workbook", "Delete Workbook", "Workbook", "TABRELPC.HLP", 30, true, false, false},
      {1, "Add Document", "Delete Document", "Document", "SCRIV.HLP", 31, false, true, false},
      {2, "Add Presentation", "Delete Presentation", "Presentation", "SLIDR.HLP", 31, false, false,
       true},
  };
  for (const Case& c : cases) {
    const std::optional<FileModeView> v = FileModeViewOf(c.mode);
    ASSERT_TRUE(v);
    EXPECT_EQ(*v, (FileModeView{c.add, c.del, c.column, c.help, c.maximum, c.excel, c.word,
                                c.powerPoint}));
  }
  EXPECT_FALSE(FileModeViewOf(3));
  EXPECT_FALSE(FileModeViewOf(-1));
}

TEST(WindowRole, HelpOfEachRole) {
  EXPECT_EQ(HelpOf(true, kOpenRole, "SCRIV.HLP").file, "VARNIX.HLP");
  EXPECT_EQ(HelpOf(true, kOpenRole, "SCRIV.HLP").command, 3u);
  const RoleHelp save = HelpOf(false, kSaveRole, "SCRIV.HLP");
  EXPECT_EQ(save.file, "SCRIV.HLP");
  EXPECT_EQ(save.command, 1u);
  EXPECT_EQ(save.data, 726u);
  EXPECT_EQ(HelpOf(false, kOpenRole, "SLIDR.HLP").data, 725u);
}

TEST(WindowRole, StartModeFollowsTheStoredModeAndTheInstalledProducts) {
  struct Case {
    const char* stored;
    bool t, s, p;
    int expected;  // 0: none
  };
  const Case cases[] = {
      {"0", true, true, true, 0},   {"", true, true, true, 0},    {"4", true, true, true, 0},
      {"x", true, true, true, 0},   {"1", true, true, true, 1},   {"2", true, true, true, 2},
      {"3", true, true, true, 3},   {"2", true, false, true, 1},  {"2", false, false, true, 3},
      {"1", false, true, true, 2},  {"1", false, false, true, 3}, {"3", true, true, false, 2},
      {"3", true, false, false, 1}, {" 2", true, true, true, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("stored '") + c.stored + "'");
    const bool installed[3] = {c.t, c.s, c.p};
    const std::optional<int16_t> button =
        StartFileModeButton(c.stored, installed, "Brevora Desktop");
    EXPECT_EQ(button.value_or(0), c.expected);
  }
  const bool none[3] = {false, false, false};
  const AutomationError e =
      test::ErrorOf([&] { StartFileModeButton("2", none, "Brevora Desktop"); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "FrmSave.InitializeForm");
  EXPECT_EQ(e.description(),
            "Invalid installation configuration.  Please reinstall Brevora Desktop.");
  // Nothing stored: nothing to choose, installed or not.
  EXPECT_FALSE(StartFileModeButton("0", none, "Brevora Desktop"));
}

}  // namespace
}  // namespace brevora::frontend
