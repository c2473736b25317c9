#pragma once
// GetTempFile: the temporary file a model converts through (a .xls, .doc or
// .ppt conversion writes or reads its desktop file there).
#include <string>
#include <string_view>

namespace brevora::core {

// A new empty file "<prefix>XXXXXX" in the system temporary folder; the caller
// removes it (fs::TempFileGuard). A failure is raised as 32760 with `source` and
// `message`, CR LF and the system's description.
std::string GetTempFile(std::string_view prefix, const std::string& source,
                        const std::string& message);

}  // namespace brevora::core
