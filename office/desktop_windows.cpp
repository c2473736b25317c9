#include "office/desktop_windows.h"

#include <algorithm>
#include <utility>

#include "platform/automation/call_by_name.h"
#include "platform/automation/per_thread.h"

namespace brevora::office {

namespace {

struct DesktopWindowState {
  std::vector<Ref<Dispatch>> windows;
  std::function<void()> pump;
};

DesktopWindowState& State() { return PerThread<DesktopWindowState>(); }

}  // namespace

void RegisterDesktopWindow(Ref<Dispatch> window) {
  if (window) State().windows.push_back(std::move(window));
}

bool UnregisterDesktopWindow(const Ref<Dispatch>& window) {
  std::vector<Ref<Dispatch>>& windows = State().windows;
  const auto it = std::find(windows.begin(), windows.end(), window);
  if (it == windows.end()) return false;
  windows.erase(it);
  return true;
}

std::vector<Ref<Dispatch>> DesktopWindows() { return State().windows; }

void RefreshDesktopWindows() {
  // A copy: a window may close (and unregister) while it refreshes.
  for (const Ref<Dispatch>& window : DesktopWindows()) {
    CallByName(window, "Refresh1", CallKind::Method);
    DoEvents();
  }
}

void SetMessagePump(std::function<void()> pump) { State().pump = std::move(pump); }

void DoEvents() {
  const std::function<void()> pump = State().pump;  // the pump may replace itself
  if (pump) pump();
}

}  // namespace brevora::office
