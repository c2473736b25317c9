#pragma once
// PerThread<T>(): one T per thread, made (default-constructed) on the thread's
// first call and destroyed when the thread ends. This is where module state that
// the system keeps per thread lives (the connectivity module's gSession,
// gServerPool, gHelpFile, dialog flags).
//
// Each shared library that instantiates PerThread<T> has its own copy, so give
// the state one accessor defined out of line in the library that owns it:
//   ModuleState& State() { return PerThread<ModuleState>(); }   // in a .cpp
// T's constructor must not call PerThread<T>() (run start-up code after the first
// call instead). While the state is being destroyed at thread exit, PerThread<T>()
// hands out a fresh T, so terminate steps that look at it find it empty.
#include <memory>

namespace brevora {

template <class T>
class PerThreadSlot {
 public:
  T& Get() {
    if (!value_) value_ = std::make_unique<T>();
    return *value_;
  }
  ~PerThreadSlot() {
    std::unique_ptr<T> ending = std::move(value_);
    ending.reset();
    value_.reset();  // a fresh T made while `ending` was destroyed
  }

 private:
  std::unique_ptr<T> value_;
};

template <class T>
T& PerThread() {
  thread_local PerThreadSlot<T> slot;
  return slot.Get();
}

}  // namespace brevora
