#pragma once
// ImageFolderInstall: puts a save's rendered pictures into the presentation's
// image folder for the length of the save, and puts the folder back as it was
// when the object ends. A file (or anything else) of the same name already in
// the folder is first moved aside to a new hidden name in the same folder
// (never over anything) and moved back at the end, after the installed copy is
// removed; a user's picture lying there is neither overwritten nor lost.
//
// The presentation that packs the pictures must be released before this
// object ends (it may remove the installed copies itself). The clean-up runs in
// the destructor and swallows its errors.
#include <string>
#include <string_view>
#include <vector>

namespace brevora::album {

class ImageFolderInstall {
 public:
  // `folder`: the image folder's system path, ending with a separator; it must
  // exist.
  explicit ImageFolderInstall(std::string folder) : folder_(std::move(folder)) {}
  ~ImageFolderInstall();
  ImageFolderInstall(const ImageFolderInstall&) = delete;
  ImageFolderInstall& operator=(const ImageFolderInstall&) = delete;

  // Copies `staged` into the folder under its own file name; returns the new
  // path. File errors raise (platform/fs).
  std::string Install(std::string_view staged);

 private:
  struct Placed {
    std::string target;
    std::string aside;       // where the file that was there waits; "" when none
    bool installed = false;  // the copy was made
  };
  // A hidden name in the folder for the file `name` while it waits; another
  // for each attempt, as one may be taken.
  std::string AsideName(std::string_view name, int attempt) const;

  std::string folder_;
  std::vector<Placed> placed_;
};

}  // namespace brevora::album
