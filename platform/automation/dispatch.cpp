#include "platform/automation/dispatch.h"

#include "platform/automation/call_by_name.h"
#include "platform/automation/variant.h"
#include "platform/error/error.h"

namespace brevora {

// Out of line so the class's identity (vtable, typeinfo) lives in this library only.
Dispatch::~Dispatch() = default;

Variant Dispatch::Invoke(std::string_view, CallKind, Args) { RaiseRuntimeError(438); }

Dispatch& ObjectOf(const Variant& v) {
  if (!v.IsObject()) RaiseRuntimeError(424);
  const Ref<Dispatch>& object = v.AsObject();
  if (!object) RaiseRuntimeError(91);
  return *object;
}

}  // namespace brevora
