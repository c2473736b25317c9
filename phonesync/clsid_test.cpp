// The engine as the desktop window reaches it: created by its class
// identifier through HKEY_CLASSES_ROOT and dlopen, in a program that links
// neither libbvsync.so nor the connectivity module (which the engine itself
// reaches by ProgID). The send-tool window is the real one, driven by a timer.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "core/session.h"
#include "phonesync/bvsync_engine.h"
#include "phonesync/sync_test_support.h"
#include "platform/automation/class_registry.h"
#include "platform/registry/registry.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "testing/temp_home.h"

namespace brevora::bvsync {
namespace {

namespace stdfs = std::filesystem;
using services::Message;
using services::MsgButtons;

bool Loaded(const char* library) {
  void* handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  dlclose(handle);
  return true;
}

Ref<IBVSyncEngine> NewEngine() {
  RegisterServer(kEngineProgId, kEngineClsid, BVSYNC_LIBRARY);
  return RefCast<IBVSyncEngine>(CreateObjectFromClsid(kEngineClsid));
}

// Answers the send-tool window while it is open: picks the line with `text`
// ("" for none) and presses `button`; counts the windows it answered. Stops
// when it goes out of scope.
class WindowScript {
 public:
  WindowScript(QString text, const char* button) : text_(std::move(text)), button_(button) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start(0);
  }
  int answered() const { return answered_; }

 private:
  void Answer() {
    QWidget* form = QApplication::activeModalWidget();
    if (form == nullptr || form->objectName() != "frmSendTo") return;
    ++answered_;
    EXPECT_EQ(form->windowTitle(), "Select Sync Method");
    auto* list = form->findChild<QListWidget*>("lstDevices");
    for (int i = 0; list != nullptr && i < list->count(); ++i) {
      if (list->item(i)->text() == text_) list->setCurrentRow(i);
    }
    form->findChild<QPushButton*>(button_)->click();
  }

  QString text_;
  const char* button_;
  QTimer timer_;
  int answered_ = 0;
};

class ByClsid : public ::testing::Test {
 protected:
  std::shared_ptr<services::RecordingMessageBox> box_ =
      std::make_shared<services::RecordingMessageBox>();
  services::ScopedService<services::MessageBox> scope_{services::InstallMessageBox, box_};
};

TEST_F(ByClsid, TheEngineComesFromItsLibraryThroughTheRegistry) {
  if (!Loaded(BVSYNC_LIBRARY)) {
    try {
      CreateObjectFromClsid(kEngineClsid);
      ADD_FAILURE() << "created without a registration";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 429);
    }
  }
  const Ref<IBVSyncEngine> engine = NewEngine();
  ASSERT_NE(engine, nullptr) << "the object is the typed engine";
  EXPECT_TRUE(Loaded(BVSYNC_LIBRARY));
  EXPECT_NE(RefCast<IBVSyncEngine>(CreateObject(kEngineProgId)), nullptr);
  EXPECT_FALSE(Loaded(TABRELPC_LIBRARY)) << "the engine does not link the connectivity module";
}

TEST_F(ByClsid, TheLibraryRegistersItself) {
  void* library = dlopen(BVSYNC_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr);
  auto registerServer = reinterpret_cast<int32_t (*)()>(dlsym(library, "BrevoraRegisterServer"));
  ASSERT_NE(registerServer, nullptr);
  EXPECT_EQ(registerServer(), 0);
  using registry::Hive;
  const auto clsid =
      registry::QueryValue(Hive::ClassesRoot, std::string(kEngineProgId) + "\\CLSID", "");
  ASSERT_TRUE(clsid);
  EXPECT_EQ(clsid->text, kEngineClsid);
  const auto server = registry::QueryValue(
      Hive::ClassesRoot, std::string("CLSID\\") + kEngineClsid + "\\InprocServer32", "");
  ASSERT_TRUE(server);
  EXPECT_EQ(server->text, stdfs::canonical(BVSYNC_LIBRARY).string());
  EXPECT_EQ(dlsym(library, "ResolveIt"), nullptr)
      << "the support library is loaded by name, not linked";
  dlclose(library);
}

// Without the connectivity module the run shows the creation error, CR LF,
// "Error Synchronizing" under the default title, and returns normally.
TEST_F(ByClsid, WithoutTheConnectivityModule) {
  if (Loaded(TABRELPC_LIBRARY)) GTEST_SKIP() << "the module is loaded in this process already";
  const Ref<IBVSyncEngine> engine = NewEngine();
  engine->Synchronize("Anna", SyncDir::sdSynchronize, nullptr);
  EXPECT_EQ(box_->shown(),
            (std::vector<Message>{{"ActiveX component can't create object\r\nError Synchronizing",
                                   "", MsgButtons::Ok}}));
}

// One engine, several runs through the real window: an unknown user, a send
// that fails, a second run that shows only its own errors, nothing left to
// send, Cancel, and Install.
TEST_F(ByClsid, RunsThroughTheSendToWindow) {
  RegisterServer(core::Session::kProgId, core::Session::kClsid, TABRELPC_LIBRARY);
  const std::string phone = brevora::testing::TempHome() + "/phones/anna";
  test::SeedPhone("Anna", phone);
  test::WriteLauncher(test::SendToFolder() + "/Bluetooth/Phone.desktop",
                      std::string(SEND_PROBE) + " %f");
  test::WriteLauncher(test::SendToFolder() + "/Infrared.desktop", "/no/such/sender %f");
  const std::string a = phone + "/slidr/Talks/a.pdb", b = phone + "/slidr/Talks/b.pdb";
  const Ref<Dispatch> session = CreateObject(core::Session::kProgId);
  test::WriteDeck(session, a, true);
  test::WriteDeck(session, b, true);
  test::ProbeScript probe({"0", "1", "0", "0"});
  const Ref<IBVSyncEngine> engine = NewEngine();
  const auto progress = MakeRef<test::CountingProgress>();

  {
    WindowScript window("(bluetooth)Phone", "cmdOK");
    engine->Synchronize("Nobody", SyncDir::sdSynchronize, progress);
    EXPECT_EQ(window.answered(), 1) << "the window was shown";
  }
  EXPECT_TRUE(box_->shown().empty());
  EXPECT_TRUE(probe.Runs().empty());

  {
    WindowScript window("(bluetooth)Phone", "cmdOK");
    engine->Synchronize("Anna", SyncDir::sdSynchronize, progress);
  }
  EXPECT_EQ(box_->shown(), (std::vector<Message>{{"\r\nUnable to install file",
                                                  "Error Synchronizing", MsgButtons::Ok}}));
  EXPECT_FALSE(test::IsMarkedModified(session, a));
  EXPECT_TRUE(test::IsMarkedModified(session, b));

  for (int run = 0; run < 2; ++run) {  // b goes; then nothing is left to send
    WindowScript window("(bluetooth)Phone", "cmdOK");
    engine->Synchronize("Anna", SyncDir::sdSynchronize, progress);
    EXPECT_EQ(window.answered(), 1);
  }
  EXPECT_EQ(box_->shown().size(), 1u) << "the second run repeats no error of the first";
  EXPECT_FALSE(test::IsMarkedModified(session, b));
  EXPECT_EQ(probe.Runs().size(), 3u);

  test::WriteDeck(session, a, true);
  {
    WindowScript window("(bluetooth)Phone", "cmdCancel");
    engine->Synchronize("Anna", SyncDir::sdSynchronize, progress);
  }
  EXPECT_TRUE(test::IsMarkedModified(session, a));
  EXPECT_EQ(progress->updates, 0);

  {
    WindowScript window("(bluetooth)Phone", "cmdOK");
    engine->Install(a);
  }
  {
    WindowScript window("Infrared", "cmdOK");
    try {
      engine->Install(a);
      ADD_FAILURE() << "no error";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.source(), "BVSyncEngine.Install");
      EXPECT_EQ(e.description(), "Unable to install file");
    }
  }
  {
    WindowScript window("", "cmdCancel");
    engine->Install(a);
  }
  EXPECT_EQ(probe.Runs().size(), 4u);
  EXPECT_TRUE(test::IsMarkedModified(session, a)) << "Install marks nothing";
  EXPECT_EQ(box_->shown().size(), 1u);
}

}  // namespace
}  // namespace brevora::bvsync
