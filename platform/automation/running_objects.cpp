#include "platform/automation/running_objects.h"

#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/error/error.h"
#include "platform/text/case.h"

namespace brevora {
namespace {

struct RunningObjects {
  std::mutex mu;
  std::unordered_map<std::string, Ref<Dispatch>> objects;  // folded ProgID -> object
};

// Never destroyed: objects left registered at exit are not torn down after the
// libraries holding their code.
RunningObjects& Table() {
  static RunningObjects* table = new RunningObjects;
  return *table;
}

}  // namespace

void RegisterActive(std::string_view progId, Ref<Dispatch> object) {
  if (!object) RaiseRuntimeError(91);
  Ref<Dispatch> old;
  RunningObjects& t = Table();
  {
    std::lock_guard lock(t.mu);
    Ref<Dispatch>& slot = t.objects[text::LCase(progId)];
    old = std::move(slot);
    slot = std::move(object);
  }
  // `old` is released here, outside the lock: its terminate step may use the table.
}

bool RevokeActive(std::string_view progId) {
  Ref<Dispatch> old;
  RunningObjects& t = Table();
  {
    std::lock_guard lock(t.mu);
    auto it = t.objects.find(text::LCase(progId));
    if (it == t.objects.end()) return false;
    old = std::move(it->second);
    t.objects.erase(it);
  }
  return true;
}

Ref<Dispatch> GetActiveObject(std::string_view progId) {
  RunningObjects& t = Table();
  std::lock_guard lock(t.mu);
  auto it = t.objects.find(text::LCase(progId));
  if (it == t.objects.end()) RaiseRuntimeError(429);
  return it->second;
}

}  // namespace brevora
