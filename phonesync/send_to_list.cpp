#include "phonesync/send_to_list.h"

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"

namespace brevora::bvsync {
namespace {

constexpr std::string_view kInfrared = "infrared";
constexpr std::string_view kBluetooth = "bluetooth";
constexpr std::string_view kBluetoothMark = "(bluetooth)";
constexpr std::string_view kLauncherExtension = ".desktop";

bool Contains(std::string_view name, std::string_view word) {
  return text::LCase(name).find(word) != std::string::npos;
}

// A name the folder holds that is not a plain name (a '\' in it, a control
// character) is left out: joined to its folder it would name another path.
bool IsTarget(const fs::FolderEntry& entry) {
  return (entry.type == fs::EntryType::File || entry.type == fs::EntryType::Link) &&
         fs::IsPlainName(entry.name);
}

bool IsKindFolder(const fs::FolderEntry& entry) {
  return entry.type == fs::EntryType::Folder && fs::IsPlainName(entry.name);
}

// Inside a catch block: the message box of a failed step.
void ReportFailure(std::string_view context) {
  const AutomationError e = CurrentError();
  services::ShowMessage(
      {e.description() + "\r\n" + std::string(context), "", services::MsgButtons::Ok});
}

}  // namespace

std::string GetSendToFolder() {
  try {
    const std::string folder = fs::JoinPath(fs::ConfigDir(), "SendTo");
    return fs::FolderExists(folder) ? folder : std::string();
  } catch (const AutomationError&) {
    return {};  // no configuration folder: no Send To folder either
  }
}

void SendToList::LoadDeviceList(const std::string& sendTo) {
  devices_.clear();
  lines_.clear();
  try {
    if (sendTo.empty() || !fs::FolderExists(sendTo)) return;
    std::vector<DevFolder> kindFolders;
    for (const fs::FolderEntry& entry : fs::ListEntries(sendTo)) {
      if (!IsKindFolder(entry)) continue;
      const std::string path = fs::JoinPath(sendTo, entry.name);
      if (Contains(entry.name, kInfrared))
        kindFolders.push_back({false, std::string(kInfrared), path});
      if (Contains(entry.name, kBluetooth))
        kindFolders.push_back({true, std::string(kBluetooth), path});
    }
    GetDevicesFromFolder(sendTo, kInfrared);
    GetDevicesFromFolder(sendTo, kBluetooth);
    for (const DevFolder& kind : kindFolders) GetAllFromFolder(kind.path, kind.title);
    for (size_t i = 0; i < devices_.size(); ++i) {
      const DevFolder& d = devices_[i];
      AddToList(d.isBluetooth ? std::string(kBluetoothMark) + d.title : d.title, i);
    }
  } catch (...) {
    ReportFailure("Error loading device list");
  }
}

std::string SendToList::PathOfLine(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= lines_.size()) return {};
  return devices_[lines_[static_cast<size_t>(row)].device].path;
}

void SendToList::GetDevicesFromFolder(const std::string& folder, std::string_view kind) {
  try {
    for (const fs::FolderEntry& entry : fs::ListEntries(folder)) {
      if (IsTarget(entry) && Contains(entry.name, kind))
        AddTarget(folder, entry.name, kind == kBluetooth);
    }
  } catch (...) {
    ReportFailure("Error getting device list");
  }
}

void SendToList::GetAllFromFolder(const std::string& folder, std::string_view kind) {
  try {
    for (const fs::FolderEntry& entry : fs::ListEntries(folder)) {
      if (IsTarget(entry)) AddTarget(folder, entry.name, kind == kBluetooth);
    }
  } catch (...) {
    ReportFailure("Error getting device list");
  }
}

void SendToList::AddTarget(const std::string& folder, const std::string& name, bool isBluetooth) {
  devices_.push_back({isBluetooth, name, fs::JoinPath(folder, name)});
}

void SendToList::AddToList(const std::string& text, size_t device) {
  try {
    const bool cut =
        text.size() >= kLauncherExtension.size() &&
        text::LCase(text.substr(text.size() - kLauncherExtension.size())) == kLauncherExtension;
    if (cut) {
      lines_.push_back({text.substr(0, text.size() - kLauncherExtension.size()), 1, device});
    } else {
      lines_.push_back({text, 0, device});
    }
  } catch (...) {
    ReportFailure("Error adding device to list.");
  }
}

}  // namespace brevora::bvsync
