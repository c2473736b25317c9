// Fuzzes the send-tool picker's listing of the user's Send To folder: the
// bytes describe the folder's entries, each a kind byte (bits 0-1: a file, a
// folder, a symbolic link, a FIFO; bit 2: inside the last folder made, not
// at the top), a length byte and the name's bytes (UTF-8 as the folder holds
// them; '/' and NUL stand for '_'). The folder is made on the work folder
// and listed by SendToList. Checks: no failure is reported; the targets are
// exactly the plain-named files and links of the top whose name holds
// "infrared" or "bluetooth", and those of the top's folders whose name holds
// one (each once per word); every target's path is its folder and its name
// and stays inside the Send To folder; each line stands for its target by
// position, its text the target's name with "(bluetooth)" in front for a
// Bluetooth one and ".desktop" (any case) cut with item data 1.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz/file_input.h"
#include "phonesync/send_to_list.h"
#include "platform/fs/paths.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::fuzz {
namespace {

enum Kind : uint8_t { kFile, kFolder, kLink, kFifo };
constexpr uint8_t kInside = 4;

std::string Entry(uint8_t kind, const std::string& name) {
  return std::string(1, static_cast<char>(kind)) + static_cast<char>(name.size()) + name;
}

struct Made {
  std::string name;  // native
  Kind kind;
  int parent;  // index of the folder it is in; -1 at the top
};

// Makes the entries the input describes inside `root` (native); those that
// could not be made (a name already taken, one too long) are left out.
std::vector<Made> MakeFolder(const std::string& root, const uint8_t* data, size_t size) {
  std::vector<Made> made;
  int lastFolder = -1;
  for (size_t at = 0; at + 2 <= size && made.size() < 64;) {
    const uint8_t kind = data[at];
    const size_t length = std::min<size_t>(data[at + 1], size - at - 2);
    std::string name(reinterpret_cast<const char*>(data + at + 2), length);
    at += 2 + length;
    std::replace(name.begin(), name.end(), '/', '_');
    std::replace(name.begin(), name.end(), '\0', '_');
    if (name.empty() || name == "." || name == "..") continue;
    const int parent = (kind & kInside) && lastFolder >= 0 ? lastFolder : -1;
    const std::string folder =
        parent < 0 ? root : root + "/" + made[static_cast<size_t>(parent)].name;
    const std::string path = folder + "/" + name;
    const Kind k = static_cast<Kind>(kind & 3);
    bool ok = false;
    if (k == kFile) {
      const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
      ok = fd >= 0 && close(fd) == 0;
    } else if (k == kFolder) {
      ok = mkdir(path.c_str(), 0755) == 0;
    } else if (k == kLink) {
      ok = symlink((kind & 8) ? "nowhere" : "/dev/null", path.c_str()) == 0;
    } else {
      ok = mkfifo(path.c_str(), 0644) == 0;
    }
    if (!ok) continue;
    made.push_back({name, k, parent});
    if (k == kFolder && parent < 0) lastFolder = static_cast<int>(made.size()) - 1;
  }
  return made;
}

bool Holds(const std::string& name, std::string_view word) {
  return text::LCase(name).find(word) != std::string::npos;
}

// (Bluetooth, name, path) of every target the folder should list.
using Target = std::tuple<bool, std::string, std::string>;

std::vector<Target> Expected(const std::string& sendTo, const std::vector<Made>& made) {
  std::vector<Target> targets;
  const auto system = [](const Made& m) { return text::Utf8ToCpExact(m.name); };
  const auto listed = [&](const Made& m) {
    return m.name[0] != '.' && system(m) && fs::IsPlainName(*system(m));
  };
  for (const Made& m : made) {
    if (m.parent >= 0 || !listed(m) || (m.kind != kFile && m.kind != kLink)) continue;
    const std::string name = *system(m);
    for (const bool bluetooth : {false, true}) {
      if (Holds(name, bluetooth ? "bluetooth" : "infrared")) {
        targets.emplace_back(bluetooth, name, fs::JoinPath(sendTo, name));
      }
    }
  }
  for (size_t f = 0; f < made.size(); ++f) {
    if (made[f].kind != kFolder || !listed(made[f])) continue;
    const std::string folder = fs::JoinPath(sendTo, *system(made[f]));
    for (const bool bluetooth : {false, true}) {
      if (!Holds(*system(made[f]), bluetooth ? "bluetooth" : "infrared")) continue;
      for (const Made& m : made) {
        if (m.parent != static_cast<int>(f) || !listed(m) || (m.kind != kFile && m.kind != kLink))
          continue;
        targets.emplace_back(bluetooth, *system(m), fs::JoinPath(folder, *system(m)));
      }
    }
  }
  return targets;
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  return {
      {"top.bin", Entry(kFile, "Infrared Link.desktop") + Entry(kLink, "Bluetooth phone") +
                      Entry(kFile, "Mail recipient") + Entry(kFile, ".hidden infrared")},
      {"folders.bin", Entry(kFolder, "Bluetooth") + Entry(kFile | kInside, "Phone A.DESKTOP") +
                          Entry(kLink | kInside | 8, "Phone B") +
                          Entry(kFolder, "Infrared and Bluetooth") +
                          Entry(kFile | kInside, "Both") + Entry(kFolder | kInside, "deeper")},
      {"odd.bin", Entry(kFifo, "infrared pipe") + Entry(kFile, "caf\xC3\xA9 bluetooth") +
                      Entry(kFile, "infrared\\..\\..\\escape") + Entry(kFile, "\xFF infrared")},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  const std::string root = WorkFolder() + "/SendTo";
  std::filesystem::remove_all(root);
  std::filesystem::create_directory(root);
  const std::vector<Made> made = MakeFolder(root, data, size);
  const std::string sendTo = fs::SystemPath(root);

  const auto box = std::make_shared<services::RecordingMessageBox>();
  const auto previous = services::InstallMessageBox(box);
  bvsync::SendToList list;
  Must("listing the Send To folder", [&] { list.LoadDeviceList(sendTo); });
  services::InstallMessageBox(previous);
  Check(box->shown().empty(), "a failure while listing a folder that can be read");

  std::vector<Target> listed;
  for (const bvsync::DevFolder& d : list.Devices()) {
    listed.emplace_back(d.isBluetooth, d.title, d.path);
    const std::string native = fs::NativePath(d.path);
    const std::filesystem::path relative = std::filesystem::path(native).lexically_relative(root);
    Check(!relative.empty() && *relative.begin() != ".." &&
              std::distance(relative.begin(), relative.end()) <= 2 &&
              std::filesystem::path(native).lexically_normal() == std::filesystem::path(native),
          "a target outside the Send To folder: " + native);
  }
  std::vector<Target> expected = Expected(sendTo, made);
  std::sort(listed.begin(), listed.end());
  std::sort(expected.begin(), expected.end());
  Check(listed == expected, "not the targets of the folder");

  const auto& lines = list.Lines();
  Check(lines.size() == list.Devices().size(), "not a line for each target");
  for (size_t i = 0; i < lines.size(); ++i) {
    const bvsync::DevFolder& d = list.Devices()[i];
    Check(lines[i].device == i && list.PathOfLine(static_cast<int>(i)) == d.path,
          "a line for another target");
    std::string text = (d.isBluetooth ? "(bluetooth)" : "") + d.title;
    const bool cut = text.size() >= 8 && text::LCase(text.substr(text.size() - 8)) == ".desktop";
    if (cut) text.resize(text.size() - 8);
    Check(lines[i].text == text && lines[i].itemData == (cut ? 1 : 0),
          "a line's text: " + lines[i].text);
  }
  Check(list.PathOfLine(-1).empty() && list.PathOfLine(static_cast<int>(lines.size())).empty(),
        "a path for a line outside the list");
  return 0;
}
