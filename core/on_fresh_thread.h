#pragma once
// Test support: runs a test body on a new thread and waits for it. The module
// state (gSession, gServerPool, ...) is per thread, so a test that needs the
// module to start afresh, under the test case's own BREVORA_HOME, runs there.
// Objects made on that thread must be dropped before the body returns. An
// exception thrown by the body is raised again on the calling thread.
#include <exception>
#include <functional>
#include <thread>

namespace brevora::core {

inline void OnFreshThread(const std::function<void()>& body) {
  std::exception_ptr error;
  std::thread worker([&] {
    try {
      body();
    } catch (...) {
      error = std::current_exception();
    }
  });
  worker.join();
  if (error) std::rethrow_exception(error);
}

}  // namespace brevora::core
