#pragma once
// CFileEntry: one product file or one category known on the desktop, the
// handheld or both. After collecting, `local` and `remote` say where it is;
// after the comparison, which copy is the source: local set, the desktop's
// goes to the handheld; else remote set, the handheld's goes to the desktop;
// neither, it is deleted on both sides.
#include <cstdint>
#include <string>

namespace brevora::conduit {

struct CFileEntry {
  std::string name;  // at most 31 characters
  bool directory = false;
  bool local = false;
  bool remote = false;
  std::string localCategory;   // the desktop copy's category folder
  std::string remoteCategory;  // the handheld copy's category
  uint32_t remoteTime = 0;     // the handheld copy's modification date (Palm seconds), carried
  bool localModified = false;
  bool localModifiedLine = true;  // the desktop file has a modified line to set and clear
  bool remoteModified = false;
  uint16_t localVersion = 0;
  uint16_t remoteVersion = 0;
  bool serverSync = false;
  bool operator==(const CFileEntry&) const = default;
};

}  // namespace brevora::conduit
