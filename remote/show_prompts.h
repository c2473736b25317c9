#pragma once
// ShowPrompts: what the slide-show control asks the user while it opens a
// presentation: a question titled with the program's name, and the choice of a
// presentation file ("PowerPoint Files (*.ppt)", default extension "ppt", the
// file must exist). The receiver program answers on its window's thread while
// the worker waits; tests script the answers.
#include <optional>
#include <string>
#include <string_view>

#include "platform/services/message_box.h"

namespace brevora::remote {

class ShowPrompts {
 public:
  virtual ~ShowPrompts() = default;
  virtual services::MsgResult Ask(std::string_view text, services::MsgButtons buttons) = 0;
  // The chosen file (a system path), or nullopt when the user cancelled.
  // `initialName` is the name offered at first.
  virtual std::optional<std::string> ChooseFile(std::string_view initialName) = 0;
};

}  // namespace brevora::remote
