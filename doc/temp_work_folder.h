#pragma once
// TempWorkFolder: a new, uniquely named folder in the system's temporary folder
// for the files of one conversion whose names matter (a copy of a .doc under
// a shorter name, the desktop file beside it), so that two conversions never
// share a file. The folder and everything in it are removed when the object
// goes out of scope, on every path.
#include <string>
#include <string_view>

namespace brevora::doc {

class TempWorkFolder {
 public:
  // 75 "Path/File access error" when no folder can be made.
  explicit TempWorkFolder(std::string_view prefix);
  ~TempWorkFolder();
  TempWorkFolder(const TempWorkFolder&) = delete;
  TempWorkFolder& operator=(const TempWorkFolder&) = delete;

  // The folder's system path, ending with a separator.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace brevora::doc
