#include "conduit-framework/local_file.h"

#include <vector>

#include "conduit-framework/conduit_log.h"
#include "conduit-framework/modified_line.h"
#include "conduit-framework/product.h"
#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"

namespace brevora::conduit {

std::string CLocalFile::PathOf(const std::string& userFolder, const std::string& category,
                               const std::string& name, std::string_view extension) {
  return fs::JoinPath(fs::JoinPath(userFolder, category.empty() ? "Unfiled" : category),
                      name + std::string(extension));
}

CLocalFile::OpenResult CLocalFile::Open(const std::string& name, const std::string& category,
                                        const std::string& userFolder, std::string_view extension) {
  return OpenPath(PathOf(userFolder, category, name, extension));
}

CLocalFile::OpenResult CLocalFile::OpenPath(const std::string& path) {
  Close();
  path_ = path;
  try {
    const fs::InputFile file(path);
    if (file.Size() > maxBytes_) return OpenResult::TooLarge;
    const std::vector<uint8_t> bytes = file.Read(0, static_cast<std::size_t>(file.Size()));
    text_.assign(bytes.begin(), bytes.end());
    lines_ = Lines(text_);
  } catch (const AutomationError&) {
    LogFileError("Could not open " + path + "...skipping.\n");
    return OpenResult::Failed;
  }
  open_ = true;
  return OpenResult::Opened;
}

bool CLocalFile::Close() {
  lines_ = Lines({});
  text_.clear();
  text_.shrink_to_fit();
  line_ = 0;
  open_ = false;
  return true;
}

bool CLocalFile::Delete() {
  Close();
  try {
    fs::RemoveFile(path_);
    return true;
  } catch (const AutomationError& e) {
    switch (e.number()) {
      case fs::kFileNotFound:
      case fs::kPathNotFound:
        LogFileError("File Not Found.");
        break;
      case fs::kPermissionDenied:
        LogFileError("Access Denied.");
        break;
      default:
        LogFileError("IO Error.");
    }
    return false;
  }
}

bool CLocalFile::ReadLine(std::string_view& line) {
  const auto next = lines_.Next();
  if (!next) return false;
  line = *next;
  ++line_;
  return true;
}

std::optional<CLocalFile::ModifiedLines> CLocalFile::ReadModifiedLines() {
  std::string_view line;
  if (!ReadLine(line)) return std::nullopt;
  const auto flag = ParseModifiedLine(line);
  if (!flag) return std::nullopt;
  std::string_view version;
  if (!ReadLine(version) || version.empty()) return std::nullopt;
  return ModifiedLines{*flag, std::string(version)};
}

std::size_t RemoveAbandonedDesktopWrites(const Product& product, const std::string& userFolder) {
  const std::string& extension = product.extension;
  const auto ours = [&](std::string_view target) {
    return target.size() > extension.size() &&
           text::EqualsNoCase(target.substr(target.size() - extension.size()), extension);
  };
  std::size_t removed = 0;
  try {
    for (const std::string& category : fs::ListFolder(userFolder, fs::ListKind::Folders)) {
      removed += fs::RemoveAbandonedTemporaries(fs::JoinPath(userFolder, category), ours);
    }
  } catch (const AutomationError&) {
    // A folder that can't be listed: what it holds is the run's to report.
  }
  return removed;
}

}  // namespace brevora::conduit
