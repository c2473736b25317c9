#pragma once
// For targets of command lines: the bytes cut at NUL bytes into arguments, as
// a program gets them (no argument holds a NUL). No bytes, no arguments.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace brevora::fuzz {

inline std::vector<std::string> Arguments(const uint8_t* data, size_t size) {
  std::vector<std::string> args;
  if (size == 0) return args;
  args.emplace_back();
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  return args;
}

// The arguments as the bytes that give them back.
inline std::string ArgumentBytes(const std::vector<std::string>& args) {
  std::string bytes;
  for (size_t i = 0; i < args.size(); ++i) {
    if (i > 0) bytes.push_back('\0');
    bytes += args[i];
  }
  return bytes;
}

}  // namespace brevora::fuzz
