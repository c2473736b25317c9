#include "core/mod_main.h"

#include <cmath>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/event_log.h"
#include "platform/text/case.h"
#include "support/tabrelc.h"

namespace brevora::core::modMain {
namespace {

// Position just after the last separator (backslash or '/'); 0 when there is none.
size_t AfterLastSeparator(std::string_view path) {
  const size_t last = path.find_last_of("\\/");
  return last == std::string_view::npos ? 0 : last + 1;
}

}  // namespace

std::string GetFileExtension(int16_t fileMode) {
  switch (fileMode) {
    case eTabulyn: return "tbr";
    case eScrivane: return "scv";
    case eSlidora: return "pdb";
    default: return "";
  }
}

std::string GetFileTypeName(int16_t fileMode) {
  switch (fileMode) {
    case eTabulyn: return "Tabulyn Workbook";
    case eScrivane: return "Scrivane Document";
    default: return "";
  }
}

std::string GetPathPart(std::string_view path) {
  const size_t pos = AfterLastSeparator(path);
  return std::string(pos == 0 ? path : path.substr(0, pos));
}

std::string GetFilePart(std::string_view path) { return fs::FileNamePart(path); }

std::string GetExtensionPart(std::string_view name) {
  const size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

std::string StripExtension(std::string_view name) {
  const size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string StripQuotes(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c != '"') result.push_back(c);
  }
  return result;
}

std::string RemoveFileModeExtension(std::string_view name, int16_t fileMode) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return std::string(name);
  if (!text::EqualsNoCase(name.substr(dot + 1), GetFileExtension(fileMode))) return std::string(name);
  return std::string(name.substr(0, dot));
}

std::string AddFileModeExtension(std::string_view name, int16_t fileMode) {
  return RemoveFileModeExtension(name, fileMode) + "." + GetFileExtension(fileMode);
}

std::string GetLongFileName(std::string_view path) {
  std::string plain = StripQuotes(path);
  const size_t split = AfterLastSeparator(plain);
  const std::string folder = plain.substr(0, split);
  const std::string name = plain.substr(split);
  if (name.empty()) return plain;
  try {
    const auto found = fs::FindNoCase(folder.empty() ? "." : folder, name);
    return found ? folder + *found : plain;
  } catch (const AutomationError&) {
    return plain;
  }
}

std::string GetTempFilePath() {
  try {
    return fs::TempDir();  // with its trailing separator
  } catch (...) {
    throw Wrap32760(CurrentError(), "GetTempFilePath", "Could not get temporary file path.");
  }
}

bool FileExists(std::string_view path) {
  if (path.empty()) return false;
  try {
    if (fs::FileExists(path)) return true;
    const size_t split = AfterLastSeparator(path);
    const std::string folder(path.substr(0, split));
    const std::string_view name = path.substr(split);
    if (name.empty()) return false;
    const auto found = fs::FindNoCase(folder.empty() ? "." : folder, name);
    return found && fs::FileExists(folder + *found);
  } catch (const AutomationError&) {
    return false;
  }
}

std::string DWordToString(double value) {
  if (!std::isfinite(value)) RaiseRuntimeError(6);
  const double whole = std::nearbyint(value);  // halves to even, as CLng rounds
  if (whole < -2147483648.0 || whole > 4294967295.0) RaiseRuntimeError(6);
  const auto bits = static_cast<uint32_t>(static_cast<int64_t>(whole));
  char bytes[4];
  FlipDWordToStr(static_cast<int32_t>(bits), bytes);
  return std::string(bytes, 4);
}

std::string WordToString(int32_t value) {
  char bytes[2];
  FlipWordToStr(value, bytes);
  return std::string(bytes, 2);
}

std::string ByteToString(int32_t value) {
  if (value < 0 || value > 255) RaiseRuntimeError(5);
  return std::string(1, static_cast<char>(static_cast<unsigned char>(value)));
}

double BitAnd(std::string_view a, std::string_view b) {
  const std::string left(a), right(b);
  char buffer[20] = {};
  ORX_BitAnd(left.c_str(), right.c_str(), buffer);
  double result = 0;
  for (size_t i = 0; i < sizeof buffer && buffer[i] != '\0'; ++i) {
    if (buffer[i] < '0' || buffer[i] > '9') break;
    result = result * 10 + (buffer[i] - '0');
  }
  return result;
}

void WriteToEventLog(std::string_view text) { services::WriteToEventLog(text); }

}  // namespace brevora::core::modMain

namespace brevora::core {

double DaysToSeconds(double date) {
  const double seconds = date * 86400.0;
  if (!std::isfinite(seconds)) RaiseRuntimeError(6);
  return seconds;
}

}  // namespace brevora::core
