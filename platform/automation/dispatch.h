#pragma once
// Dispatch: the late-binding interface. Invoke(name, kind, args) calls a member
// by name, matched without regard to case; `args` is a span the callee may write
// into (by-reference arguments: the caller reads its elements back afterwards).
// For Let and Set the value assigned is the last argument. An unknown member
// raises 438, a wrong argument count 450. Classes list their members in a
// MemberTable (member_table.h); callers use CallByName (call_by_name.h).
#include <span>
#include <string_view>

#include "platform/automation/object.h"

namespace brevora {

class Variant;

enum class CallKind { Method, Get, Let, Set };
using Args = std::span<Variant>;

class Dispatch : public Object {
 public:
  // The default answers every name with 438.
  virtual Variant Invoke(std::string_view name, CallKind kind, Args args);

 protected:
  ~Dispatch() override;
};

}  // namespace brevora
