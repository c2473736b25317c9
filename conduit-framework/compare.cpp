#include "conduit-framework/compare.h"

#include "platform/text/case.h"

namespace brevora::conduit {
namespace {

enum class Decision { Keep, Drop };

Decision Synchronize(CFileEntry& e, const CompareSettings& s, std::vector<std::string>& log) {
  if (e.serverSync) {
    log.push_back("Skipped workbook '" + e.name + "' because set to server sync");
    return Decision::Drop;
  }
  if (e.local && e.remote) {
    const bool sameCategory = text::EqualsNoCase(e.localCategory, e.remoteCategory);
    const bool neither = !e.localModified && !e.remoteModified;
    if (neither && sameCategory) {
      if (!s.slow) return Decision::Drop;
      e.local = false;  // row 2: the handheld's copy is written over the desktop's
      return Decision::Keep;
    }
    if ((e.localModified && e.remoteModified) || neither) {
      if (s.prevail == 0) {
        e.remote = false;
        log.push_back(e.name + " modified on desktop and device.  Desktop overwriting device.");
      } else {
        e.local = false;
        log.push_back(e.name + " modified on desktop and device.  Device overwriting desktop.");
      }
      return Decision::Keep;
    }
    if (e.localModified) {
      e.remote = false;
    } else {
      e.local = false;
    }
    return Decision::Keep;
  }
  if (s.firstSync) return Decision::Keep;
  if (e.local) {
    if (!e.localModified) e.local = false;  // row 9: deleted on the desktop
    return Decision::Keep;
  }
  if (e.remote && !(s.slow || e.remoteModified)) e.remote = false;  // row 12
  return Decision::Keep;
}

}  // namespace

std::vector<std::string> Compare(std::map<std::string, CFileEntry>& entries,
                                 const CompareSettings& settings) {
  std::vector<std::string> log;
  for (auto it = entries.begin(); it != entries.end();) {
    CFileEntry& e = it->second;
    bool tooOld = false;
    if (e.remote && e.remoteVersion < settings.minimumHandheldVersion) {
      e.remote = false;
      tooOld = true;
    }
    Decision decision = Decision::Keep;
    switch (settings.mode) {
      case SyncMode::DesktopOverwrites:
        e.remote = false;
        break;
      case SyncMode::HandheldOverwrites:
        e.local = false;
        break;
      case SyncMode::Synchronize:
        decision = Synchronize(e, settings, log);
        break;
      case SyncMode::DoNothing:
        decision = Decision::Drop;
        break;
    }
    if (decision == Decision::Keep && tooOld && !e.local && !e.remote) decision = Decision::Drop;
    it = decision == Decision::Drop ? entries.erase(it) : std::next(it);
  }
  return log;
}

}  // namespace brevora::conduit
