#pragma once
// The object a late-bound Set hands over, as the class the property takes.
#include "platform/automation/call_by_name.h"
#include "platform/automation/error.h"
#include "platform/automation/object.h"
#include "platform/automation/variant.h"

namespace brevora::sheet {

// 424 when `v` holds no object, 91 when it holds Nothing, 13 when the object is
// not a T.
template <class T>
Ref<T> ObjectArg(const Variant& v) {
  Ref<T> object = RefCast<T>(Ref<Dispatch>(&ObjectOf(v)));
  if (!object) RaiseRuntimeError(13);
  return object;
}

}  // namespace brevora::sheet
