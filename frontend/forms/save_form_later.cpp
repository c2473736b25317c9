// SaveForm: commands whose topics are not in the window yet. Each does nothing
// here; the file of its topic defines it instead (and its line goes from here).
#include "frontend/forms/frm_save.h"

namespace brevora::frontend::forms {

void SaveForm::mnuCategory_Click(int) {}
void SaveForm::AddExistingFile() {}
void SaveForm::DeleteCommand() {}

}  // namespace brevora::frontend::forms
