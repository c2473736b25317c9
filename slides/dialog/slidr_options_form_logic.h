#pragma once
// SlidrOptionsFormLogic: what the presentation options dialog (frmSlidr_Options)
// does, without widgets. The dialog owns one, hands it the user's clicks and
// shows what it returns; tests drive it without a display.
//
// Load creates the image options (SlidrOptions, read from the registry)
// and returns the state the controls start in. Ok takes the texts and ticks the
// user chose, stores them in the options and saves them; on any error it shows
// "Slidora Error" through the message-box service and the dialog stays open.
// Cancel and the window's close box save nothing and mark the dialog cancelled.
#include <string>
#include <vector>

#include "platform/automation/object.h"
#include "slides/slidr_options.h"

namespace brevora::slides::dialog {

// A drop-down list: its entries and the selected one (-1: none).
struct ComboState {
  std::vector<std::string> items;
  int selected = -1;
};

// The controls as InitControls leaves them.
struct SlidrOptionsControls {
  ComboState resolution;              // cbResolution
  ComboState bitDepth;                // cbBitDepth
  ComboState vantaRes;                // cbVantaRes
  ComboState vantaDepth;              // cbVantaDepth
  bool linkedTicked = false;          // chkLinked
  std::string linkFile;               // lblFile
  bool showLinking = false;           // chkLinked and lblFile shown
  bool vantaTicked = false;           // chkVantaSlide
  bool vantaControlsEnabled = false;  // lblVantaRes, cbVantaRes, lblVantaDepth, cbVantaDepth
  bool advancedShown = false;         // fmeAdvanced
};

// What the user chose when pressing OK.
struct SlidrOptionsChoice {
  std::string resolution;   // cbResolution's text
  std::string bitDepth;     // cbBitDepth's text
  bool vantaSlide = false;  // chkVantaSlide ticked
  std::string vantaRes;     // cbVantaRes's text
  std::string vantaDepth;   // cbVantaDepth's text
};

class SlidrOptionsFormLogic {
 public:
  // Set by the caller before the dialog is shown.
  const std::string& LinkFile() const { return linkFile_; }
  void SetLinkFile(std::string file) { linkFile_ = std::move(file); }
  bool ShowLinking() const { return showLinking_; }
  void SetShowLinking(bool show) { showLinking_ = show; }

  // Read by the caller after the dialog has closed.
  bool FileLinked() const { return fileLinked_; }
  bool Cancelled() const { return cancelled_; }
  void SetCancelled(bool cancelled) { cancelled_ = cancelled; }

  // Creates the options (registry errors pass to the caller), clears
  // `cancelled` and returns InitControls.
  SlidrOptionsControls Load();
  // The controls' starting state from the options; unticks the link box. The
  // large-screen controls are enabled exactly when UseVanta is set.
  SlidrOptionsControls InitControls();

  // LinkedClicked: the link box is now `ticked`.
  void LinkedClicked(bool ticked) { fileLinked_ = ticked; }
  // OkClicked: stores the choice in the options and saves them; true when the
  // dialog may close. An error is shown ("Slidora Error", "Slidora options: "
  // and its text) and gives false; values set before it stay set, nothing is
  // saved when it came before the save.
  bool OkClicked(const SlidrOptionsChoice& choice);
  // CancelClicked, and the window's close box: saves nothing.
  void CancelClicked() { cancelled_ = true; }

  // The options object (null before Load).
  const Ref<SlidrOptions>& Options() const { return options_; }

 private:
  Ref<SlidrOptions> options_;
  std::string linkFile_;
  bool showLinking_ = false;
  bool fileLinked_ = false;
  bool cancelled_ = false;
};

}  // namespace brevora::slides::dialog
