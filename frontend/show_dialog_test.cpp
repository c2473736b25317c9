#include "frontend/show_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "frontend/frontend_test_support.h"

namespace brevora::frontend {
namespace {

using ::testing::ElementsAre;
using testing::RecordingForm;

TEST(ShowDialog, ShowsModallyUnlessTheLoadAborts) {
  const struct {
    const char* name;
    bool abortLoad;
    bool cancelledByUser;
    std::vector<std::string> log;
    bool cancelled;
  } cases[] = {
      {"OK",
       false,
       false,
       {"frmNewCategory.Load", "frmNewCategory.Show(modal)", "frmNewCategory.Unload"},
       false},
      {"Cancel",
       false,
       true,
       {"frmNewCategory.Load", "frmNewCategory.Show(modal)", "frmNewCategory.Unload"},
       true},
      {"load aborted", true, false, {"frmNewCategory.Load", "frmNewCategory.Unload"}, true},
  };
  for (const auto& c : cases) {
    core::OnFreshThread([&] {
      test::FakeForms forms;
      core::ModuleState& module = core::Module();
      // Flags left over from an earlier dialog do not count.
      module.gDialogCancelled = !c.cancelled;
      module.gDialogAbort = true;
      Ref<Form> form = forms->Create("frmNewCategory");
      auto& fake = static_cast<RecordingForm&>(*form);
      fake.onLoad = [&](RecordingForm&) {
        EXPECT_FALSE(module.gDialogAbort);
        module.gDialogAbort = c.abortLoad;
      };
      fake.onModal = [&](RecordingForm&) { module.gDialogCancelled = c.cancelledByUser; };
      forms->ClearLog();
      Utility::ShowDialog(*form);
      EXPECT_EQ(forms->Log(), c.log) << c.name;
      EXPECT_EQ(module.gDialogCancelled, c.cancelled) << c.name;
    });
  }
}

}  // namespace
}  // namespace brevora::frontend
