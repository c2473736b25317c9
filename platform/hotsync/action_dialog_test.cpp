#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/hotsync/action_dialog.h"

namespace brevora::hotsync {
namespace {

// Installs a dialog for one test.
struct Installed {
  explicit Installed(std::shared_ptr<ActionDialog> dialog) {
    InstallActionDialog(std::move(dialog));
  }
  ~Installed() { InstallActionDialog(nullptr); }
};

TEST(ActionDialog, WithNoOneToAskTheAnswerIsCancel) {
  int32_t choice = 2;
  int32_t makeDefault = 1;
  EXPECT_EQ(HotSyncActionDialog("Tabulyn", &choice, &makeDefault), kActionDialogCancel);
  EXPECT_EQ(choice, 2);
  EXPECT_EQ(makeDefault, 1);
  EXPECT_EQ(HotSyncActionDialog(nullptr, &choice, &makeDefault), kActionDialogCancel);
}

TEST(ActionDialog, AScriptedDialogAnswersAndRecords) {
  auto scripted = std::make_shared<ScriptedActionDialog>();
  scripted->Push(ScriptedActionDialog::Answer{1, true});
  scripted->Push(std::nullopt);
  scripted->Push(ScriptedActionDialog::Answer{7, false});  // no such choice
  Installed installed(scripted);
  int32_t choice = 0;
  int32_t makeDefault = 0;
  EXPECT_EQ(HotSyncActionDialog("Tabulyn", &choice, &makeDefault), kActionDialogOk);
  EXPECT_EQ(choice, 1);
  EXPECT_EQ(makeDefault, 1);
  EXPECT_EQ(HotSyncActionDialog("Tabulyn", &choice, &makeDefault), kActionDialogCancel);
  EXPECT_EQ(HotSyncActionDialog("Tabulyn", &choice, &makeDefault), kActionDialogCancel);
  EXPECT_EQ(choice, 1);
  EXPECT_EQ(scripted->shown(),
            (std::vector<ActionDialogState>{
                {"Tabulyn", 0, false}, {"Tabulyn", 1, true}, {"Tabulyn", 1, true}}));
}

// Runs the console dialog on `input`; returns what it printed.
std::string Console(const std::string& input, ActionDialogState& state, bool& ok) {
  std::FILE* in = fmemopen(const_cast<char*>(input.data()), input.size(), "r");
  char* printed = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&printed, &size);
  ok = ConsoleActionDialog(in, out).Run(state);
  std::fclose(in);
  std::fclose(out);
  std::string text(printed, size);
  std::free(printed);
  return text;
}

TEST(ActionDialog, TheConsoleDialogReadsAChoiceAndTheDefaultBox) {
  struct Case {
    std::string input;
    bool ok;
    int32_t choice;
    bool makeDefault;
  };
  const Case cases[] = {
      {"2\ny\n", true, 2, true},
      {"\n\n", true, 3, false},          // Enter keeps the preselected choice
      {"9\nx\n1\nn\n", true, 1, false},  // asks again until a choice is given
      {"c\n", false, 3, false},
      {"", false, 3, false},
      {"0\n", false, 3, false},  // input ends before the default question
  };
  for (const Case& c : cases) {
    ActionDialogState state{"Scrivane", 3, false};
    bool ok = false;
    const std::string printed = Console(c.input, state, ok);
    EXPECT_EQ(ok, c.ok) << c.input;
    EXPECT_EQ(state.choice, c.choice) << c.input;
    EXPECT_EQ(state.makeDefault, c.makeDefault) << c.input;
    EXPECT_TRUE(printed.starts_with("Scrivane\n  0  Synchronize the files\n")) << printed;
    EXPECT_NE(printed.find("  3  Do nothing  (current)\n"), std::string::npos) << printed;
  }
}

}  // namespace
}  // namespace brevora::hotsync
