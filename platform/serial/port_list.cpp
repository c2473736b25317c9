#include "platform/serial/port_list.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <tuple>

#include "platform/fs/paths.h"

namespace brevora::serial {
namespace {

constexpr std::array<std::string_view, 4> kKinds = {"rfcomm", "ttyUSB", "ttyACM", "ttyS"};

struct Port {
  size_t kind;
  unsigned long number;
  std::string name;
};

// The kind and number of a serial device name; false for any other name.
bool Classify(std::string_view name, Port& port) {
  for (size_t k = 0; k < kKinds.size(); ++k) {
    if (!name.starts_with(kKinds[k])) continue;
    const std::string_view digits = name.substr(kKinds[k].size());
    if (digits.empty() || digits.size() > 6) return false;
    if (!std::all_of(digits.begin(), digits.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
      return false;
    }
    port.kind = k;
    port.number = std::stoul(std::string(digits));
    port.name = std::string(name);
    return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> ListPorts(std::string_view deviceFolder) {
  std::vector<Port> ports;
  std::error_code error;
  const std::filesystem::path folder(fs::NativePath(deviceFolder));
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    Port port;
    if (Classify(it->path().filename().string(), port)) ports.push_back(std::move(port));
  }
  std::sort(ports.begin(), ports.end(), [](const Port& a, const Port& b) {
    return std::tie(a.kind, a.number) < std::tie(b.kind, b.number);
  });
  std::vector<std::string> paths;
  paths.reserve(ports.size());
  for (const Port& p : ports) paths.push_back(fs::JoinPath(deviceFolder, p.name));
  return paths;
}

}  // namespace brevora::serial
