#pragma once
// What every fuzz target shares. A target is one file, <name>.cpp, that defines
//   - LLVMFuzzerTestOneInput: feeds the bytes to one parser's public entry and
//     checks what that entry promises (its documented error and nothing else,
//     no out-of-bounds access, results that hold together);
//   - Seeds: a few valid inputs made by the project's own writers; the target's
//     <name>_seeds program writes them to fuzz/corpus/<name>/.
// A failed check aborts, so libFuzzer records the input as a crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "platform/error/error.h"

namespace brevora::fuzz {

struct Seed {
  std::string name;   // file name in the corpus folder
  std::string bytes;  // the whole input
};

// Defined by each target. `scratch` is an empty folder for writers that need
// files; the seed program removes it afterwards.
std::vector<Seed> Seeds(const std::string& scratch);

// Ends the run with `what` on stderr.
[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::abort();
}

// A literal message is made a string only when the check fails: checks run per
// pixel and per record, where building a string each time would cost more than
// the code under test.
inline void Check(bool ok, const char* what) {
  if (!ok) Fail(what);
}

inline void Check(bool ok, const std::string& what) {
  if (!ok) Fail(what);
}

// Runs `body`, the parser's entry. Returns true when it finished and false when
// it refused the input with AutomationError `refusal`; any other error (another
// number, another exception type) fails the run.
template <class Body>
bool Accepts(int32_t refusal, Body&& body) {
  try {
    body();
    return true;
  } catch (const AutomationError& e) {
    if (e.number() == refusal) return false;
    Fail("error " + std::to_string(e.number()) + " (" + e.source() + "): " + e.description());
  } catch (const std::exception& e) {
    Fail(std::string("unexpected exception: ") + e.what());
  } catch (...) {
    Fail("unexpected exception of unknown type");
  }
}

// Runs `body`, which must not raise at all.
template <class Body>
void Must(const char* what, Body&& body) {
  try {
    body();
  } catch (const AutomationError& e) {
    Fail(std::string(what) + ": error " + std::to_string(e.number()) + ": " + e.description());
  } catch (const std::exception& e) {
    Fail(std::string(what) + ": " + e.what());
  }
}

}  // namespace brevora::fuzz
