#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/fs/paths.h"
#include "platform/services/event_log.h"
#include "platform/services/file_dialog.h"
#include "platform/services/folder_view.h"
#include "platform/services/help.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "testing/temp_home.h"

namespace brevora::services {
namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(MessageBoxes, DefaultWritesToStderrAndChangesNothing) {
  auto current = CurrentMessageBox();
  EXPECT_NE(dynamic_cast<StderrMessageBox*>(current.get()), nullptr);
  ::testing::internal::CaptureStderr();
  const MsgResult answer = ShowMessage(
      {"Overwrite caf\xE9?", "Overwrite workbook", MsgButtons::YesNo, MsgIcon::Question});
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Overwrite workbook: Overwrite caf\xC3\xA9?\n");
  EXPECT_EQ(answer, MsgResult::No);
}

TEST(MessageBoxes, SafeAnswers) {
  const std::pair<MsgButtons, MsgResult> cases[] = {
      {MsgButtons::Ok, MsgResult::Ok},
      {MsgButtons::OkCancel, MsgResult::Cancel},
      {MsgButtons::YesNo, MsgResult::No},
      {MsgButtons::YesNoCancel, MsgResult::Cancel},
      {MsgButtons::RetryCancel, MsgResult::Cancel},
      {MsgButtons::AbortRetryIgnore, MsgResult::Abort},
  };
  for (const auto& [buttons, answer] : cases) EXPECT_EQ(SafeAnswer(buttons), answer);
}

TEST(MessageBoxes, RecordingBoxAnswersFromItsScript) {
  auto box = std::make_shared<RecordingMessageBox>();
  auto before = CurrentMessageBox();
  {
    ScopedService<MessageBox> scope(InstallMessageBox, box);
    box->Answer(MsgResult::Yes);
    EXPECT_EQ(ShowMessage({"first?", "Brevora", MsgButtons::YesNo, MsgIcon::Question}),
              MsgResult::Yes);
    EXPECT_EQ(ShowMessage({"second?", "", MsgButtons::YesNo, MsgIcon::None}), MsgResult::No);
    ASSERT_EQ(box->shown().size(), 2u);
    EXPECT_EQ(box->shown()[0],
              (Message{"first?", "Brevora", MsgButtons::YesNo, MsgIcon::Question}));
  }
  EXPECT_EQ(CurrentMessageBox(), before);
}

TEST(MessageBoxes, ShowCriticalHasOneButtonAndTheProgramsTitle) {
  auto box = std::make_shared<RecordingMessageBox>();
  ScopedService<MessageBox> scope(InstallMessageBox, box);
  ShowCritical("Could not load form.");
  ShowCritical("Unknown file type.", " Tabulyn");
  EXPECT_EQ(box->shown(),
            (std::vector<Message>{
                {"Could not load form.", "Brevora", MsgButtons::Ok, MsgIcon::Critical},
                {"Unknown file type.", " Tabulyn", MsgButtons::Ok, MsgIcon::Critical}}));
}

TEST(FileDialogs, DefaultCancelsAndSaysSoOnStderr) {
  EXPECT_NE(dynamic_cast<NoFileDialog*>(CurrentFileDialog().get()), nullptr);
  ::testing::internal::CaptureStderr();
  const auto answer = ShowFileDialog({FileDialogKind::Open, "Pick a caf\xE9 picture", "", ""});
  EXPECT_EQ(answer, std::nullopt);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Pick a caf\xC3\xA9 picture"),
            std::string::npos);
}

TEST(FileDialogs, ScriptedDialogAnswersInOrderThenCancels) {
  auto dialog = std::make_shared<ScriptedFileDialog>();
  auto before = CurrentFileDialog();
  {
    ScopedService<FileDialog> scope(InstallFileDialog, dialog);
    dialog->Answer("/home/ann/one.png");
    dialog->Answer(std::nullopt);
    const FileRequest open{FileDialogKind::Open, "Open", "", "Pictures (*.png)|*.png"};
    const FileRequest save{FileDialogKind::Save, "Save", "Untitled", ""};
    EXPECT_EQ(ShowFileDialog(open), std::optional<std::string>("/home/ann/one.png"));
    EXPECT_EQ(ShowFileDialog(save), std::nullopt);
    EXPECT_EQ(ShowFileDialog(open), std::nullopt);
    const std::vector<FileRequest> expected{open, save, open};
    EXPECT_EQ(dialog->requests(), expected);
  }
  EXPECT_EQ(CurrentFileDialog(), before);
}

TEST(EventLogs, FileLogAppendsLinesInTheStateFolder) {
  auto log = CurrentEventLog();
  EXPECT_NE(dynamic_cast<FileEventLog*>(log.get()), nullptr);
  WriteToEventLog("ERROR:  Tabulyn,False,Could not open.\r\nFile not found");
  WriteToEventLog("caf\xE9");
  const std::string text = FileText(fs::StateDir() + "/eventlog.txt");
  const std::string pid = "[" + std::to_string(getpid()) + "] ";
  const size_t first = text.find(pid + "ERROR:  Tabulyn,False,Could not open.\n\tFile not found\n");
  ASSERT_NE(first, std::string::npos) << text;
  EXPECT_EQ(first, 20u);  // after "YYYY-MM-DD HH:MM:SS "
  EXPECT_NE(text.find(pid + "caf\xC3\xA9\n"), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
}

TEST(EventLogs, UnwritableLogGoesToStderr) {
  const std::string home = testing::MakeTempDir("blocked");
  mkdir((home + "/eventlog.txt").c_str(), 0700);  // a folder where the log file should be
  const std::string saved = std::getenv("BREVORA_HOME");
  setenv("BREVORA_HOME", home.c_str(), 1);
  ::testing::internal::CaptureStderr();
  WriteToEventLog("lost?");
  const std::string err = ::testing::internal::GetCapturedStderr();
  setenv("BREVORA_HOME", saved.c_str(), 1);
  EXPECT_NE(err.find("lost?"), std::string::npos);
}

TEST(EventLogs, RecordingLogKeepsEntries) {
  auto log = std::make_shared<RecordingEventLog>();
  ScopedService<EventLog> scope(InstallEventLog, log);
  WriteToEventLog("one");
  WriteToEventLog("two");
  EXPECT_EQ(log->entries(), (std::vector<std::string>{"one", "two"}));
  EXPECT_FALSE(std::ifstream(fs::StateDir() + "/eventlog.txt").good());
}

TEST(Help, RecordingViewerKeepsRequests) {
  auto viewer = std::make_shared<RecordingHelpViewer>();
  ScopedService<HelpViewer> scope(InstallHelpViewer, viewer);
  ShowHelp({"C:\\Help\\tabulyn.hlp", kHelpContext, 720});
  ShowHelp({"scriv.hlp", kHelpFinder, 0});
  EXPECT_EQ(viewer->requests(),
            (std::vector<HelpRequest>{{"C:\\Help\\tabulyn.hlp", kHelpContext, 720},
                                      {"scriv.hlp", kHelpFinder, 0}}));
}

class DisplayEnv {
 public:
  explicit DisplayEnv(const char* display) {
    if (const char* d = std::getenv("DISPLAY")) display_ = d;
    if (const char* w = std::getenv("WAYLAND_DISPLAY")) wayland_ = w;
    unsetenv("WAYLAND_DISPLAY");
    if (display)
      setenv("DISPLAY", display, 1);
    else
      unsetenv("DISPLAY");
  }
  ~DisplayEnv() {
    if (display_)
      setenv("DISPLAY", display_->c_str(), 1);
    else
      unsetenv("DISPLAY");
    if (wayland_) setenv("WAYLAND_DISPLAY", wayland_->c_str(), 1);
  }

 private:
  std::optional<std::string> display_, wayland_;
};

TEST(Help, OpenerGetsTheNativePath) {
  DisplayEnv env(":99");
  const std::string dir = testing::MakeTempDir("opener");
  const std::string script = dir + "/opener.sh";
  std::ofstream(script)
      << "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.out.tmp\" && mv \"$0.out.tmp\" \"$0.out\"\n";
  chmod(script.c_str(), 0755);
  XdgOpenHelpViewer viewer(script);
  viewer.Show({"help\\caf\xE9 guide.hlp", kHelpFinder, 0});
  // The opener runs on its own; wait for its output (not a timing check).
  for (int i = 0; i < 1000 && !std::ifstream(script + ".out").good(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(FileText(script + ".out"), "help/caf\xC3\xA9 guide.hlp");
}

TEST(FolderView, TheFolderIsTheOpenersOneArgument) {
  DisplayEnv env(":99");
  const std::string dir = testing::MakeTempDir("opener");
  const std::string script = dir + "/opener.sh";
  // Counts the arguments: a folder with blanks and quotes stays one.
  std::ofstream(script) << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$0.out.tmp\" && mv "
                           "\"$0.out.tmp\" \"$0.out\"\n";
  chmod(script.c_str(), 0755);
  XdgOpenFolderView view(script);
  view.Show("/data/anna\\tabrel\\My \"Big\" $(x); Category");
  for (int i = 0; i < 1000 && !std::ifstream(script + ".out").good(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(FileText(script + ".out"), "1|/data/anna/tabrel/My \"Big\" $(x); Category");

  auto recording = std::make_shared<RecordingFolderView>();
  ScopedService<FolderView> scope(InstallFolderView, recording);
  ShowFolder("C:\\x");
  EXPECT_EQ(recording->shown(), std::vector<std::string>{"C:\\x"});
}

TEST(Help, HeadlessViewerReportsOnStderr) {
  DisplayEnv env(nullptr);
  ::testing::internal::CaptureStderr();
  XdgOpenHelpViewer("/nonexistent/opener").Show({"tabulyn.hlp", kHelpContext, 725});
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "help: tabulyn.hlp (command 1, data 725)\n");
}

}  // namespace
}  // namespace brevora::services
