#include "frontend/show_dialog.h"

#include "core/module_state.h"

namespace brevora::frontend::Utility {

void ShowDialog(Form& form) {
  core::ModuleState& module = core::Module();
  module.gDialogCancelled = false;
  module.gDialogAbort = false;
  form.Load();
  if (module.gDialogAbort) {
    module.gDialogCancelled = true;
    form.Unload();
    return;
  }
  form.Show(/*modal=*/true);
}

}  // namespace brevora::frontend::Utility
