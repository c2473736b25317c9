#pragma once
// PresentationChooser: where Save As and Open ask the user which presentation
// file to write or read. In the program these are the application object's
// save and open windows for presentations; tests script them
// (testing/scripted_chooser.h).
#include <string>

#include "platform/automation/dispatch.h"

namespace brevora::album {

class PresentationChooser {
 public:
  virtual ~PresentationChooser() = default;
  // `path` comes in as the suggested name and goes out as the chosen file;
  // false when the user cancelled. Errors raise.
  virtual bool FileToSave(Dispatch& application, std::string& path) = 0;
  virtual bool FileToOpen(Dispatch& application, std::string& path) = 0;
};

// The application object's own windows, called late-bound by name:
// GetFileToSave_Slidora(path) and GetFileToOpen_Slidora(path, False), the path
// by reference. An application object without them raises 438.
class ApplicationChooser : public PresentationChooser {
 public:
  bool FileToSave(Dispatch& application, std::string& path) override;
  bool FileToOpen(Dispatch& application, std::string& path) override;
};

}  // namespace brevora::album
