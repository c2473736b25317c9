// The program's registration of the phone sync engine: made on a fresh
// desktop (then the window's Sync finds the engine by its CLSID), made again
// over an entry whose library is gone, and an entry naming a library that
// exists left as it is.
#include "frontend/brevora/phone_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "frontend/brevora/library_folder.h"
#include "frontend/phone_sync.h"
#include "platform/automation/class_registry.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "testing/temp_home.h"

namespace brevora::frontend::program {
namespace {

using registry::Hive;

const std::string kServerKey = std::string("CLSID\\") + kPhoneSyncEngineClsid + "\\InprocServer32";

std::string Registered() {
  const auto value = registry::QueryValue(Hive::ClassesRoot, kServerKey, "");
  return value ? fs::NativePath(value->text) : std::string();
}

TEST(PhoneEngine, IsRegisteredFromTheProgramsLibrariesUnlessAnExistingLibraryIs) {
  const std::string folder = ProgramLibraryFolder();
  ASSERT_FALSE(folder.empty());
  const std::string library = (std::filesystem::path(folder) / kPhoneEngineLibrary).string();

  // A fresh desktop.
  EXPECT_EQ(RegisterPhoneEngine(folder), "");
  EXPECT_EQ(Registered(), library);
  EXPECT_EQ(ClsidFromProgId("BVSync.BVSyncEngine"), kPhoneSyncEngineClsid);
  EXPECT_TRUE(CreateObjectFromClsid(kPhoneSyncEngineClsid));

  // An entry whose library is gone is made again; one that exists is kept.
  registry::SetValue(Hive::ClassesRoot, kServerKey, "",
                     registry::Value::String("/nowhere/libbvsync.so"));
  EXPECT_EQ(RegisterPhoneEngine(folder), "");
  EXPECT_EQ(Registered(), library);
  const std::string elsewhere = testing::MakeTempDir("elsewhere") + "/libbvsync.so";
  std::ofstream(elsewhere) << "x";
  registry::SetValue(Hive::ClassesRoot, kServerKey, "",
                     registry::Value::String(fs::SystemPath(elsewhere)));
  EXPECT_EQ(RegisterPhoneEngine(folder), "");
  EXPECT_EQ(Registered(), elsewhere);
}

TEST(PhoneEngine, AFolderWithoutTheLibraryOrABrokenRegistryIsReported) {
  const std::string empty = testing::MakeTempDir("no-libraries");
  EXPECT_EQ(RegisterPhoneEngine(empty),
            "the phone sync library " + empty + "/libbvsync.so is not there.");
  EXPECT_EQ(Registered(), "");

  // A damaged registry file is reported and left as it is.
  const std::string hive = testing::TempHome() + "/registry/HKEY_CLASSES_ROOT.reg";
  std::filesystem::create_directories(testing::TempHome() + "/registry");
  std::ofstream(hive) << "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\CLSID\n";
  const std::string problem = RegisterPhoneEngine(ProgramLibraryFolder());
  EXPECT_NE(problem.find("HKEY_CLASSES_ROOT.reg"), std::string::npos) << problem;
}

}  // namespace
}  // namespace brevora::frontend::program
