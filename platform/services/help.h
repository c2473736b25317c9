#pragma once
// Help requests: a help file with a command and its data (a context number for
// kHelpContext, 0 for the contents page). The default viewer opens the file with
// xdg-open when a display is present (the context can't be passed on) and
// otherwise reports the request on stderr; tests install a RecordingHelpViewer.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace brevora::services {

inline constexpr uint32_t kHelpContext = 1;  // show the topic of a context number
inline constexpr uint32_t kHelpFinder = 11;  // show the contents and index

struct HelpRequest {
  std::string file;  // system path (code page)
  uint32_t command = kHelpFinder;
  uint32_t data = 0;
  bool operator==(const HelpRequest&) const = default;
};

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  virtual void Show(const HelpRequest& request) = 0;
};

// Starts `opener` (xdg-open by default) on the file without a shell and without
// waiting for it; a missing file is the viewer's business. Never raises.
class XdgOpenHelpViewer : public HelpViewer {
 public:
  explicit XdgOpenHelpViewer(std::string opener = "xdg-open") : opener_(std::move(opener)) {}
  void Show(const HelpRequest& request) override;

 private:
  std::string opener_;
};

class RecordingHelpViewer : public HelpViewer {
 public:
  void Show(const HelpRequest& request) override;
  std::vector<HelpRequest> requests() const;

 private:
  mutable std::mutex mutex_;
  std::vector<HelpRequest> requests_;
};

std::shared_ptr<HelpViewer> CurrentHelpViewer();
// Installs `viewer` for the process (nullptr: the default); returns the previous one.
std::shared_ptr<HelpViewer> InstallHelpViewer(std::shared_ptr<HelpViewer> viewer);
void ShowHelp(const HelpRequest& request);

}  // namespace brevora::services
