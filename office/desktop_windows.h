#pragma once
// The module's open desktop windows (the front end's frmSave windows) and the
// message loop of the thread, as the converters see them.
//
// A desktop window registers itself when it opens and unregisters when it
// closes (the front end does this; while it does not, the list is empty).
// RefreshDesktopWindows is what the converters' Refresh does after the
// conduits have run: it calls Refresh1, late-bound and without arguments, on
// every registered window in the order they registered, and lets pending window
// messages run after each; the first error stops the walk and is raised.
//
// DoEvents lets pending window messages run once, through the message pump the
// front end installs (none installed: nothing to run). The list and the pump
// are module state, one copy per thread, like the forms they stand for.
#include <functional>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora::office {

void RegisterDesktopWindow(Ref<Dispatch> window);
// False when the window was not registered.
bool UnregisterDesktopWindow(const Ref<Dispatch>& window);
std::vector<Ref<Dispatch>> DesktopWindows();

void RefreshDesktopWindows();

void SetMessagePump(std::function<void()> pump);
void DoEvents();

}  // namespace brevora::office
