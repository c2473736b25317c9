#pragma once
// PrivateFolder: a folder of our own in the system temporary folder, made with
// a name no one else can have taken (mkdtemp, "tbr" prefix, readable by the
// user only), and removed with everything in it when the object ends. The
// album keeps its copies of an opened presentation's pictures in one, and a
// save renders its pictures into another before anything else is touched.
#include <string>

namespace brevora::album {

class PrivateFolder {
 public:
  // Makes the folder; 75 "Path/File access error" when it can't.
  PrivateFolder();
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  // The folder's system path, ending with a separator.
  const std::string& Path() const { return path_; }

 private:
  std::string native_;
  std::string path_;
};

}  // namespace brevora::album
