#pragma once
// QtHelpViewer: the help service (platform/services/help.h) of the programs
// with windows. A help file that is there goes to the desktop's viewer (the
// opener given: xdg-open by default); for one that is not, the user is told in
// a message box (information, "Brevora") that help is not available, where the
// default viewer would leave nothing visible. Never raises.
#include <memory>

#include "platform/services/help.h"

namespace brevora::qt {

class QtHelpViewer : public services::HelpViewer {
 public:
  explicit QtHelpViewer(std::shared_ptr<services::HelpViewer> opener =
                            std::make_shared<services::XdgOpenHelpViewer>())
      : opener_(std::move(opener)) {}
  void Show(const services::HelpRequest& request) override;

 private:
  std::shared_ptr<services::HelpViewer> opener_;
};

}  // namespace brevora::qt
