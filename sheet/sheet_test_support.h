#pragma once
// Test support for the workbook tests: catching the raised error, small file
// helpers on native paths, and a default workbook's expected .tbr header.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/error/error.h"
#include "testing/caught_error.h"

namespace brevora::sheet::testing {

using ::brevora::testing::ErrorOf;

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// The lines of a CR LF text (a final CR LF ends the last line).
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(text.substr(pos));
      break;
    }
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

inline std::string Zeros(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += i ? ",0" : "0";
  return s;
}

}  // namespace brevora::sheet::testing
