// TabrelPC: the about box of the add-ins and their help entry.
#include <string>

#include "core/session.h"
#include "frontend//about_box.h"
#include "frontend/form_factory.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/error/error.h"
#include "platform/services/help.h"
#include "platform/services/message_box.h"

namespace brevora::frontend {
namespace {

// The about box, loaded and owned by `owner`; any failure on the way is
// 0x80040001 "TabrelPC" "Could not open about box.   " + the description.
Ref<Form> LoadAboutBox(TabrelPC& owner) {
  try {
    Ref<Form> box = Forms()->Create("frmAbout");
    CallByName(*box, "oTabrelPC", CallKind::Set, Ref<Dispatch>(&owner));
    box->Load();
    return box;
  } catch (...) {
    throw AutomationError(kObjectError + 1, "TabrelPC",
                          "Could not open about box.   " + CurrentError().description());
  }
}

}  // namespace

void TabrelPC::DoAbout(std::string& macroVersion) {
  try {
    if (macroVersion.empty()) macroVersion = DefaultMacroVersion();
    macroVersion_ = macroVersion;
    LoadAboutBox(*this)->Show(/*modal=*/true);
  } catch (...) {
    services::ShowMessage({CurrentError().description(), "Brevora", services::MsgButtons::Ok,
                           services::MsgIcon::Critical});
  }
}

void TabrelPC::DoHelp(int32_t, std::string_view helpFile, int32_t, int32_t) {
  // The contents page whatever the caller asked; the owner window (the
  // desktop for 0) is the viewer's business.
  try {
    services::ShowHelp({std::string(helpFile), services::kHelpFinder, 0});
  } catch (...) {
    // Help reports nothing.
  }
}

}  // namespace brevora::frontend
