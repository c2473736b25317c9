#pragma once
// Fixtures of the phone sync tests: a phone of the phone suite with its
// folder (REGEDIT4), presentations written by the presentation class through a
// Session (late-bound, as the engine reads them), launchers in the Send To
// folder, and the send probe (phonesync/send_probe.cpp) with its script and
// the record of its runs.
#include <stdlib.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "phonesync/bvsync_engine.h"
#include "phonesync/send_to_picker.h"

#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "testing/temp_home.h"

namespace brevora::bvsync::test {

// The phone `name` of the phone suite, whose folder is `folder` (created
// unless empty).
inline void SeedPhone(const std::string& name, const std::string& folder) {
  const std::string key = "HKEY_CURRENT_USER\\Software\\Nokia\\PCSuiteForNokia3650\\EPOCDevices";
  registry::ImportRegedit("REGEDIT4\n\n[" + key + "]\n\n[" + key + "\\" + name +
                          "]\n\"DataPath\"=\"" + folder + "\"\n\"UID\"=\"1234567890\"\n");
  if (!folder.empty()) fs::MakeFolder(folder);
}

// The Send To folder of the test's home.
inline std::string SendToFolder() { return brevora::testing::TempHome() + "/SendTo"; }

inline void WriteText(const std::string& path, const std::string& text) {
  fs::MakeFolder(fs::FolderPart(path));
  fs::AtomicWrite(path, text);
}

// A launcher whose Exec line is `exec`.
inline void WriteLauncher(const std::string& path, const std::string& exec) {
  WriteText(path, "[Desktop Entry]\nType=Application\nName=Phone\nExec=" + exec + "\n");
}

// A presentation at `path` written through `session`'s presentation class:
// one slide per picture (each picture also its thumbnail), marked modified
// or not.
inline void WriteDeck(const Ref<Dispatch>& session, const std::string& path, bool modified,
                      const std::vector<std::string>& pictures = {}) {
  fs::MakeFolder(fs::FolderPart(path));
  const Variant deck = CallByName(session, "GetPresentation", CallKind::Method);
  Dispatch& p = ObjectOf(deck);
  const Variant slides = CallByName(p, "Slides", CallKind::Get);
  int16_t index = 1;
  for (const std::string& picture : pictures) {
    const Variant slide =
        CallByName(ObjectOf(slides), "Add", CallKind::Method, index++, int16_t{0}, picture);
    CallByName(ObjectOf(slide), "addThumbnail", CallKind::Method, picture, int16_t{0});
  }
  CallByName(p, "IsModified", CallKind::Let, modified);
  CallByName(p, "WriteToDisk", CallKind::Method, path);
}

// The modified mark of the presentation at `path`, read through `session`.
inline bool IsMarkedModified(const Ref<Dispatch>& session, const std::string& path) {
  const Variant deck = CallByName(session, "GetPresentation", CallKind::Method);
  CallByName(ObjectOf(deck), "OpenFromDisk", CallKind::Method, path, false);
  return CBool(CallByName(ObjectOf(deck), "IsModified", CallKind::Get));
}

// A picker that answers from a script ("" is Cancel; Cancel once the script
// is used up) and counts how often it was asked.
class ScriptedPicker : public SendToPicker {
 public:
  explicit ScriptedPicker(std::deque<std::string> answers = {}) : answers_(std::move(answers)) {}
  void Answer(std::string path) { answers_.push_back(std::move(path)); }
  std::string Choose() override {
    ++asked_;
    if (answers_.empty()) return {};
    std::string answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
  }
  int asked() const { return asked_; }

 private:
  std::deque<std::string> answers_;
  int asked_ = 0;
};

// A progress sink that counts the reports it gets.
class CountingProgress : public ISyncProgress {
 public:
  void Update(const std::string&, int16_t) override { ++updates; }
  int updates = 0;
};

// One run of the send probe: its working folder and its arguments (the
// program first).
struct ProbeRun {
  std::string folder;
  std::vector<std::string> arguments;
};

// Points the send probe at a log and a script (one action per run: an exit
// code, "kill" or "truncate") in a folder of the test's home for the life of
// the object.
class ProbeScript {
 public:
  explicit ProbeScript(const std::vector<std::string>& actions = {}) : folder_(NewFolder()) {
    std::string script;
    for (const std::string& a : actions) script += a + "\n";
    WriteText(folder_ + "/script", script);
    setenv("BVSYNC_PROBE_LOG", (folder_ + "/log").c_str(), 1);
    setenv("BVSYNC_PROBE_SCRIPT", (folder_ + "/script").c_str(), 1);
  }
  ~ProbeScript() {
    unsetenv("BVSYNC_PROBE_LOG");
    unsetenv("BVSYNC_PROBE_SCRIPT");
  }
  ProbeScript(const ProbeScript&) = delete;
  ProbeScript& operator=(const ProbeScript&) = delete;

  // A folder of its own for each script.
  static std::string NewFolder() {
    std::string pattern = brevora::testing::MakeTempDir("probe") + "/XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }

  std::vector<ProbeRun> Runs() const {
    std::ifstream in(folder_ + "/log", std::ios::binary);
    const std::string log(std::istreambuf_iterator<char>(in), {});
    std::vector<ProbeRun> runs;
    size_t start = 0;
    for (size_t end = log.find('\x1e'); end != std::string::npos; end = log.find('\x1e', start)) {
      std::vector<std::string> fields;
      for (size_t f = start; f < end;) {
        const size_t stop = log.find('\x1f', f);
        fields.push_back(log.substr(f, stop - f));
        f = stop + 1;
      }
      runs.push_back(
          {fields.empty() ? "" : fields.front(),
           std::vector<std::string>(fields.begin() + (fields.empty() ? 0 : 1), fields.end())});
      start = end + 1;
    }
    return runs;
  }

 private:
  std::string folder_;
};

}  // namespace brevora::bvsync::test
