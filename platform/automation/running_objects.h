#pragma once
// The running-object table: applications register their object under a ProgID
// so that other code can attach to the running one instead of starting another
// (Visual Basic's GetObject(, "Excel.Application")). One table per process;
// ProgIDs match without regard to case. Safe to call from any thread.
#include <string_view>

#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora {

// Registers (or replaces) the running object of `progId`; the table keeps a reference.
void RegisterActive(std::string_view progId, Ref<Dispatch> object);
// Drops the table's reference; false when nothing was registered.
bool RevokeActive(std::string_view progId);
// The running object of `progId`; 429 "ActiveX component can't create object" when none.
Ref<Dispatch> GetActiveObject(std::string_view progId);

}  // namespace brevora
