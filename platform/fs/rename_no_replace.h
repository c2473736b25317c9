#pragma once
// Renames that never replace an existing target, on native (Linux) paths.
// RenameNoReplaceNative uses renameat2(RENAME_NOREPLACE); where the file system
// lacks it, files are moved with link + unlink (link refuses an existing name),
// and folders (or files on file systems without hard links) are renamed after a
// check that the target is absent. That last fallback leaves a small window in
// which another process could create the target between check and rename; no
// atomic primitive exists for that case there.
// Each raises AutomationError 58 when the target exists, 53 when the source is
// missing, else the errno's mapping (platform/fs/file_error.h).
#include <string>

namespace brevora::fs::detail {

void RenameNoReplaceNative(const std::string& from, const std::string& to);
// The fallbacks, exposed so tests can run them on any file system.
void RenameByLink(const std::string& from, const std::string& to);
void RenameAfterCheck(const std::string& from, const std::string& to);

}  // namespace brevora::fs::detail
