#pragma once
// Test support for Document: the error a call raises, files written and read.
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "doc/document_header.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "testing/caught_error.h"

namespace brevora::doc::testing {

using ::brevora::testing::ErrorOf;

inline std::string ReadFile(const std::string& path) {
  const std::vector<uint8_t> bytes = fs::ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

inline void WriteFile(const std::string& path, std::string_view bytes) {
  fs::AtomicWrite(path, bytes);
}

}  // namespace brevora::doc::testing

namespace brevora::doc {

// Bookmarks in test failure messages.
inline void PrintTo(const Bookmark& b, std::ostream* os) {
  *os << '"' << b.name << "\" " << b.offset;
}

}  // namespace brevora::doc
