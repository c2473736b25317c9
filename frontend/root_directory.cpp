#include "frontend/root_directory.h"

#include "core/text_cleanup.h"
#include "platform/fs/files.h"

namespace brevora::frontend {

RootDirectoryChoice CheckRootDirectory(std::string_view typed) {
  RootDirectoryChoice choice{core::Trim(typed), false};
  try {
    choice.valid = !choice.directory.empty() && fs::FolderExists(choice.directory);
  } catch (...) {
    choice.valid = false;  // a lookup that fails finds no folder
  }
  return choice;
}

}  // namespace brevora::frontend
