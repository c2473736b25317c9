// brevora: the desktop program. It opens the stand-alone window of the
// application object ("TabulynPC.TabrelPC", DoOpenStandAloneEX) with its
// arguments as the command text (a file to import, the server switch) and
// runs until that window is closed. A first run on a desktop without Palm
// Desktop or the phone suite installs an example set-up first. Every start
// registers, from beside the program's libraries, what an installer would
// have: the phone sync engine, the suite's two conduits with the HotSync
// stand-in (for the window's folders) and the module's automation classes,
// each only where nothing that works is registered yet.
//
// Exit status: 0 after the window closed (or another open Brevora window was
// brought to the front), 1 when the window could not be shown (the reason is
// shown in a message box), when a file to import was not imported because
// another window was brought to the front instead (said in a message box),
// when the window's picture could not be taken, or when the first run failed;
// 2 when there is no display to show it on.
//
// BREVORA_SNAPSHOT=<file.png> saves a picture of the window to that file once
// it is shown and closes it (scripts/run.sh shows the window that way on a
// machine without a display).
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/module_state.h"
#include "frontend/brevora/command_text.h"
#include "frontend/brevora/example_setup.h"
#include "frontend/brevora/library_folder.h"
#include "frontend/brevora/module_registration.h"
#include "frontend/brevora/phone_engine.h"
#include "frontend/brevora/suite_conduits.h"
#include "frontend/module_classes.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/member_table.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/qt/display.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_message_box.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "platform/text/codepage.h"

namespace {

using namespace brevora;

// The host's callback object: the window's Finished ends the program's loop.
class Host : public Dispatchable<Host> {
 public:
  static const MemberTable<Host>& Members() {
    static const MemberTable<Host> table{{"Finished", CallKind::Method, [](Host& h, Args) {
                                            h.finished = true;
                                            QCoreApplication::quit();
                                          }}};
    return table;
  }
  bool finished = false;
};

QMainWindow* ShownMainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String("frmSave") && widget->isVisible()) {
      return qobject_cast<QMainWindow*>(widget);
    }
  }
  return nullptr;
}

// Saves the shown window's picture to `file` and closes the window; false
// (said on stderr) when there was no window or the picture wasn't saved.
bool Snapshot(const std::string& file) {
  QMainWindow* window = ShownMainWindow();
  if (!window) {
    std::fprintf(stderr, "brevora: no window was shown to take a picture of.\n");
    return false;
  }
  const bool saved = window->grab().save(QString::fromStdString(file), "PNG");
  if (saved) {
    std::printf("brevora: the window's picture is in %s\n", file.c_str());
  } else {
    std::fprintf(stderr, "brevora: could not save the window's picture to %s\n", file.c_str());
  }
  window->close();  // as the user's close box does: the window unloads and says it is finished
  return saved;
}

// Registers what the suite's other programs need of this one; what can't be
// registered is said on stderr (the window works without it).
void RegisterTheSuite() {
  using namespace frontend::program;
  const std::string folder = ProgramLibraryFolder();
  // Sync in the window needs the phone sync engine registered.
  if (const std::string problem = RegisterPhoneEngine(folder); !problem.empty()) {
    std::fprintf(stderr, "brevora: phone sync is not available: %s\n", problem.c_str());
  }
  // HotSync runs the suite's conduits for the folders the window shows.
  if (const std::string problem = RegisterSuiteConduits(folder); !problem.empty()) {
    std::fprintf(stderr, "brevora: HotSync can't synchronize workbooks and documents: %s\n",
                 problem.c_str());
  }
  // The conduits reach the converters by ProgID.
  if (const std::string problem = RegisterModuleClasses(frontend::ModuleLibraryFile());
      !problem.empty()) {
    std::fprintf(stderr, "brevora: other programs can't reach Brevora's objects: %s\n",
                 problem.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(text::Utf8ToCp(argv[i]));

  try {
    if (const std::optional<std::string> root = frontend::program::InstallExampleIfNeeded()) {
      std::printf("brevora: first run: an example user \"Example\" with files was set up in %s\n",
                  fs::NativePath(*root).c_str());
    }
  } catch (...) {
    std::fprintf(stderr, "brevora: the example set-up failed: %s\n",
                 text::CpToUtf8(CurrentError().description()).c_str());
    return 1;
  }
  RegisterTheSuite();

  if (!qt::DisplayAvailable()) {
    std::fprintf(stderr, "brevora: no display to show the window on.\n");
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("brevora"));
  QApplication::setQuitOnLastWindowClosed(false);  // the window's Finished ends the program
  services::ScopedService<services::MessageBox> messages(services::InstallMessageBox,
                                                         std::make_shared<qt::QtMessageBox>());
  services::ScopedService<services::FileDialog> files(services::InstallFileDialog,
                                                      std::make_shared<qt::QtFileDialog>());

  const Ref<Host> host = MakeRef<Host>();
  using Result = frontend::TabrelPC::StandAloneResult;
  Result result = Result::kFailed;
  try {
    const Ref<frontend::TabrelPC> tabrelPC =
        RefCast<frontend::TabrelPC>(CreateObject(frontend::TabrelPC::kProgId));
    if (!tabrelPC) RaiseRuntimeError(429);
    result =
        tabrelPC->OpenStandAlone(frontend::program::CommandText(arguments), Ref<Dispatch>(host));
  } catch (...) {
    services::ShowMessage({CurrentError().description(), "Brevora", services::MsgButtons::Ok,
                           services::MsgIcon::Critical});
  }
  if (result == Result::kFailed) {
    std::fprintf(stderr, "brevora: the window could not be shown.\n");
    core::Module().gSession = nullptr;
    return 1;
  }
  if (result == Result::kActivatedOther) {
    core::Module().gSession = nullptr;
    if (arguments.empty()) {
      std::fprintf(stderr, "brevora: an open Brevora window was brought to the front.\n");
      return 0;
    }
    // The file the user asked to import was not: say so where the user looks.
    const std::string text = "An open Brevora window was brought to the front; \"" +
                             frontend::program::CommandText(arguments) + "\" was not imported.";
    std::fprintf(stderr, "brevora: %s\n", text::CpToUtf8(text).c_str());
    services::ShowMessage(
        {text, "Brevora", services::MsgButtons::Ok, services::MsgIcon::Exclamation});
    return 1;
  }
  bool snapshotFailed = false;
  if (const char* snapshot = std::getenv("BREVORA_SNAPSHOT"); snapshot && *snapshot) {
    const std::string file = snapshot;
    QTimer::singleShot(1500, [file, &snapshotFailed] { snapshotFailed = !Snapshot(file); });
  }
  if (!host->finished) app.exec();
  core::Module().gSession = nullptr;
  return snapshotFailed ? 1 : 0;
}
