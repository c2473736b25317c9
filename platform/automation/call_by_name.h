#pragma once
// Late-bound calls from native code: Visual Basic's CallByName with arguments by
// value, and the object a Variant holds (as a Dispatch or, for a Set, as the
// class the property takes). For by-reference arguments call
// Invoke with a span of Variants and read them back.
#include <string_view>
#include <utility>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"
#include "platform/error/error.h"

namespace brevora {

// VB's CallByName with arguments by value: CallByName(obj, "Run", CallKind::Method, "a", 1).
// A null object raises 91.
template <class... A>
Variant CallByName(Dispatch& object, std::string_view name, CallKind kind, A&&... args) {
  Variant list[] = {Variant(std::forward<A>(args))..., Variant()};
  return object.Invoke(name, kind, Args(list, sizeof...(A)));
}

template <class D, class... A>
Variant CallByName(const Ref<D>& object, std::string_view name, CallKind kind, A&&... args) {
  if (!object) RaiseRuntimeError(91);
  return CallByName(static_cast<Dispatch&>(*object), name, kind, std::forward<A>(args)...);
}

// The object a Variant holds, for a late-bound call on it: 424 "Object required"
// when it holds no object, 91 when it holds Nothing.
Dispatch& ObjectOf(const Variant& v);

// The object a late-bound Set hands over, as the class the property takes: 424
// when `v` holds no object, 91 when it holds Nothing, 13 when it is not a T.
template <class T>
Ref<T> ObjectArg(const Variant& v) {
  Ref<T> object = RefCast<T>(Ref<Dispatch>(&ObjectOf(v)));
  if (!object) RaiseRuntimeError(13);
  return object;
}

// The same for a property that also takes Nothing: null for Nothing.
template <class T>
Ref<T> ObjectOrNothing(const Variant& v) {
  if (v.IsObject() && !v.AsObject()) return nullptr;
  return ObjectArg<T>(v);
}

}  // namespace brevora
