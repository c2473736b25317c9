#pragma once
// For targets whose entry reads a file by name: a private work folder under
// $TMPDIR (also the process's BREVORA_HOME), removed at exit, where each input
// is written before the entry opens it; and the check for the outer open
// operations, which wrap every failure into 32760.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

#include "fuzz/fuzz_target.h"

namespace brevora::fuzz {

inline std::string& WorkFolder() {
  static std::string folder;
  return folder;
}

inline void RemoveWorkFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(WorkFolder(), ignored);
}

// Called from LLVMFuzzerInitialize: $TMPDIR when set (scripts/fuzz.sh points it
// into its own work folder), else /dev/shm when there is one, else /tmp.
inline void MakeWorkFolder() {
  const char* tmp = std::getenv("TMPDIR");
  const std::string base = tmp && *tmp ? tmp : access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string pattern = base + "/brevora-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) Fail("mkdtemp");
  WorkFolder() = pattern;
  std::filesystem::create_directories(pattern + "/home");
  std::filesystem::create_directories(pattern + "/files");
  setenv("BREVORA_HOME", (pattern + "/home").c_str(), 1);
  std::atexit(RemoveWorkFolder);
}

// Writes the input to files/<name> in the work folder; returns its path.
inline std::string WriteInput(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = WorkFolder() + "/files/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out.flush()) Fail("cannot write the input file " + path);
  return path;
}

// The bytes of a file a writer made (for Seeds).
inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Accepts(kWrapError, body) for the outer open operations, which wrap every
// failure into 32760 with the inner description on its last line. A failure
// that came from a standard-library exception (a parser that let an index or a
// length run past its data into a checked accessor, or ran out of memory) is
// not a refusal of bad data but a fault, so its text fails the run. Such a
// text stands at the start of a line of the description; a marker inside a
// line is the input's own text quoted in a refusal (a sheet named "stod").
inline bool LooksLikeLibraryFault(const std::string& description) {
  std::size_t start = 0;
  while (start <= description.size()) {
    std::size_t end = description.find('\n', start);
    if (end == std::string::npos) end = description.size();
    std::string_view line(description.data() + start, end - start);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\r')) line.remove_prefix(1);
    for (const char* marker : {"basic_string", "vector", "_M_", "std::", "stoi", "stol", "stod",
                               "bad_", "out_of_range", "map::at", "Out of memory"}) {
      if (line.starts_with(marker)) return true;
    }
    start = end + 1;
  }
  return false;
}

template <class Body>
bool AcceptsWrapped(Body&& body) {
  try {
    body();
    return true;
  } catch (const AutomationError& e) {
    if (e.number() != kWrapError) {
      Fail("error " + std::to_string(e.number()) + " (" + e.source() + "): " + e.description());
    }
    if (LooksLikeLibraryFault(e.description()))
      Fail("a fault reported as a refusal: " + e.description());
    return false;
  } catch (const std::exception& e) {
    Fail(std::string("unexpected exception: ") + e.what());
  } catch (...) {
    Fail("unexpected exception of unknown type");
  }
}

}  // namespace brevora::fuzz
