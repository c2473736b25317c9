#include "platform/hotsync/user_list.h"

#include <unordered_set>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "platform/text/codepage.h"
#include "platform/text/line_reader.h"

namespace brevora::hotsync {
namespace {

using registry::Hive;

// The Pilot Desktop keys, in the order the desktop looks for them.
constexpr const char* kPilotDesktopRoots[] = {"Software\\U.S. Robotics\\Pilot Desktop",
                                              "Software\\Palm Computing\\Pilot Desktop"};

// One line split at TAB into exactly three fields; false otherwise.
bool SplitFields(std::string_view line, std::string_view (&fields)[3]) {
  size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    const size_t tab = line.find('\t', start);
    if (i < 2) {
      if (tab == std::string_view::npos) return false;
      fields[i] = line.substr(start, tab - start);
      start = tab + 1;
    } else {
      if (tab != std::string_view::npos) return false;
      fields[i] = line.substr(start);
    }
  }
  return true;
}

// A decimal id 0..2147483647, digits only (leading zeros as written by hand).
std::optional<int32_t> ParseId(std::string_view digits) {
  return text::DecimalNumber<int32_t>(digits, text::LeadingZeros::kAllowed);
}

// LF or CR LF line ends; the last line may go without one.
constexpr text::LineRules kFileLines{.ends = text::LineEnds::CrLf, .openLastLine = true};
// The same lines as stored, CR and all, for a rewrite that keeps them.
constexpr text::LineRules kStoredLines{.openLastLine = true};

std::optional<PalmUser> ParseLine(std::string_view line) {
  std::string_view fields[3];
  if (!SplitFields(line, fields)) return std::nullopt;
  const auto id = ParseId(fields[0]);
  if (!id || fields[1].empty() || !text::IsValidUtf8(fields[1])) return std::nullopt;
  auto directory = text::Utf8ToCpExact(fields[2]);
  if (!directory || !fs::IsPlainName(*directory)) return std::nullopt;
  return PalmUser{*id, text::Utf8ToCp(fields[1]), std::move(*directory)};
}

std::string UsersFilePath(const std::string& root) { return fs::JoinPath(root, kUsersFileName); }

// The file's bytes; "" when it is missing or can't be read.
std::string ReadFileText(const std::string& path) {
  if (!fs::FileExists(path)) return {};
  try {
    const std::vector<uint8_t> bytes = fs::ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
  } catch (const AutomationError&) {
    return {};
  }
}

bool HoldsLineBreakOrTab(std::string_view s) {
  return s.find_first_of("\t\r\n") != std::string_view::npos;
}

}  // namespace

std::optional<std::string> RootDirectory() {
  for (const char* root : kPilotDesktopRoots) {
    if (!registry::KeyExists(Hive::CurrentUser, root)) continue;
    const auto value =
        registry::QueryValue(Hive::CurrentUser, std::string(root) + "\\Core", "Path");
    const bool isText = value && (value->type == registry::ValueType::String ||
                                  value->type == registry::ValueType::ExpandString);
    if (!isText || value->text.empty()) return std::nullopt;
    return value->text;
  }
  return std::nullopt;
}

std::vector<PalmUser> ParseUserList(std::string_view fileText) {
  std::vector<PalmUser> users;
  std::unordered_set<int32_t> seen;
  text::LineReader lines(fileText, kFileLines);
  for (std::string_view line; lines.Next(line);) {
    auto user = ParseLine(line);
    if (!user || !seen.insert(user->id).second) continue;
    users.push_back(std::move(*user));
  }
  return users;
}

std::vector<PalmUser> ReadUsers() {
  const auto root = RootDirectory();
  if (!root) return {};
  return ParseUserList(ReadFileText(UsersFilePath(*root)));
}

void AddUser(const PalmUser& user) {
  if (user.id < 0 || user.name.empty() || HoldsLineBreakOrTab(user.name) ||
      !fs::IsPlainName(user.directory) || HoldsLineBreakOrTab(user.directory)) {
    RaiseRuntimeError(5);
  }
  const auto root = RootDirectory();
  if (!root) RaiseRuntimeError(76);
  const std::string path = UsersFilePath(*root);
  // The other users must survive: a list that exists but can't be read fails
  // the call rather than being replaced by a list of one.
  std::string old;
  if (fs::FileExists(path)) {
    const std::vector<uint8_t> bytes = fs::ReadWholeFile(path);
    old.assign(bytes.begin(), bytes.end());
  }
  // Keep every other line as it is stored; drop the lines of this id, however
  // its digits are written ("007" is 7: the reader would keep the first).
  std::string text;
  text::LineReader lines(old, kStoredLines);
  for (std::string_view line; lines.Next(line);) {
    if (line.empty() || ParseId(line.substr(0, line.find('\t'))) == user.id) continue;
    text.append(line);
    text.push_back('\n');
  }
  text += std::to_string(user.id) + "\t" + text::CpToUtf8(user.name) + "\t" +
          text::CpToUtf8(user.directory) + "\n";
  fs::AtomicWrite(path, text);
}

}  // namespace brevora::hotsync
