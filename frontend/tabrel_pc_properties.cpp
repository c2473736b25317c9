// TabrelPC: property files, the small key/value files the add-ins pass values
// through (property_file.h).
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "core/session.h"
#include "core/text_cleanup.h"
#include "frontend//property_file.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"

namespace brevora::frontend {
namespace {

// Calls on a file that does not exist, or with a blank key, do nothing.
bool Usable(std::string_view fileName, std::string_view key) {
  return !core::Trim(key).empty() && fs::FileExists(fileName);
}

}  // namespace

std::string TabrelPC::GetPropertyFile() { return GetTempFile(); }

std::string TabrelPC::GetProperty(std::string_view fileName, std::string_view key) {
  return RunWrapped("TabrelPC.GetProperty", "Could not get property", [&]() -> std::string {
    if (!Usable(fileName, key)) return {};
    const auto found = PropertyFileReader(std::string(fileName)).Find(key);
    return found ? found->value : std::string();
  });
}

void TabrelPC::SetProperty(std::string_view fileName, std::string_view key,
                           std::string_view value) {
  RunWrapped("TabrelPC.SetProperty", "Could not set property", [&] {
    if (Usable(fileName, key)) PropertyFileWriter(std::string(fileName)).Set(key, value);
  });
}

void TabrelPC::ResetAllProperties(std::string_view fileName) {
  RunWrapped("TabrelPC.ResetAllProperties", "Could not reset properties", [&] {
    // Only a property file itself goes: never a folder, a link or a device.
    struct stat st {};
    const std::string native = fs::NativePath(fileName);
    if (lstat(native.c_str(), &st) != 0) fs::RaiseErrno(errno);
    if (!S_ISREG(st.st_mode)) fs::RaiseFileError(fs::kPathFileAccess);
    fs::RemoveFile(fileName);
  });
}

}  // namespace brevora::frontend
