#pragma once
// SendToList: what the send-tool window lists and what its lines stand for,
// without any widget. The targets are the entries of the user's Send To folder
// whose names hold "infrared" or "bluetooth" (any case), then every entry of
// each folder in Send To whose name holds one of those words. A target is any
// entry that is not hidden and not a folder itself (files and links, a link
// to a folder included); folders inside the kind folders are not listed, nor
// entries whose names are not plain names (fs::IsPlainName: a '\' would make
// their path another one).
//
// Each target has one line: its name, "(bluetooth)" in front for Bluetooth
// targets, ".desktop" cut from the end (the line's item data is then 1, else
// 0). A line stands for its target by position, so equal lines keep their own
// targets.
//
// A failure while listing shows a message box (the error's description, CR
// LF, the step's context text) and ends that step; what was listed stays.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::bvsync {

// The current user's Send To folder: "SendTo" in the configuration folder
// ($BREVORA_HOME/SendTo); "" when there is none.
std::string GetSendToFolder();

// One send target, or one kind folder while scanning.
struct DevFolder {
  bool isBluetooth = false;
  std::string title;  // the entry's name; for a kind folder "infrared" or "bluetooth"
  std::string path;   // folder, separator, name (system path)
};

struct DeviceLine {
  std::string text;
  int32_t itemData = 0;  // 1 when ".desktop" was cut from the text
  size_t device = 0;     // the target it stands for (index into Devices())
};

class SendToList {
 public:
  // Lists the targets of `sendTo` ("" or a missing folder: none).
  void LoadDeviceList(const std::string& sendTo);

  const std::vector<DevFolder>& Devices() const { return devices_; }
  const std::vector<DeviceLine>& Lines() const { return lines_; }
  // The path of the target behind line `row` (0-based); "" for a row outside
  // the list (nothing selected).
  std::string PathOfLine(int row) const;

 private:
  void GetDevicesFromFolder(const std::string& folder, std::string_view kind);
  void GetAllFromFolder(const std::string& folder, std::string_view kind);
  void AddTarget(const std::string& folder, const std::string& name, bool isBluetooth);
  void AddToList(const std::string& text, size_t device);

  std::vector<DevFolder> devices_;
  std::vector<DeviceLine> lines_;
};

}  // namespace brevora::bvsync
