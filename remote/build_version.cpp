#include "remote/build_version.h"

#include <sys/stat.h>

#include <string>

namespace brevora::remote {

uint32_t VersionWordOfDate(const std::tm& date) {
  const auto year = static_cast<uint8_t>(date.tm_year + 1900 - 2000);
  const auto month = static_cast<uint8_t>(date.tm_mon + 1);
  const auto day = static_cast<uint8_t>(date.tm_mday);
  return (uint32_t{year} << 24) | (uint32_t{month} << 16) | (uint32_t{day} << 8) | 0x0Au;
}

uint32_t VersionWordOfFile(std::string_view path) {
  struct stat info {};
  if (::stat(std::string(path).c_str(), &info) != 0) return 0;
  std::tm local{};
  if (!localtime_r(&info.st_mtime, &local)) return 0;
  return VersionWordOfDate(local);
}

uint32_t GetBuildVersionWord() { return VersionWordOfFile("/proc/self/exe"); }

}  // namespace brevora::remote
