#pragma once
// Utility.ShowDialog: how every modal dialog of the front end is shown. The
// result travels in the thread's gDialogCancelled and in the dialog's own
// properties, which stay readable after it has been unloaded.
#include "frontend/form.h"

namespace brevora::frontend::Utility {

// Clears gDialogCancelled and gDialogAbort and loads the form. When its load
// set gDialogAbort the dialog can't run: gDialogCancelled is set and the form
// unloaded unseen. Otherwise it is shown modally; the call returns when it
// closes. Errors of the load or the show are raised.
void ShowDialog(Form& form);

}  // namespace brevora::frontend::Utility
