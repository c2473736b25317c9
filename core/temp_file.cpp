#include "core/temp_file.h"

#include "platform/error/error.h"
#include "platform/fs/files.h"

namespace brevora::core {

std::string GetTempFile(std::string_view prefix, const std::string& source,
                        const std::string& message) {
  return RunWrapped(source, message, [&] { return fs::MakeTempFile(prefix); });
}

}  // namespace brevora::core
