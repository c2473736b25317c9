// What the program registers for the rest of the suite: the two conduits
// with the HotSync stand-in for the window's folders, and the module's
// automation classes, so that another process (a conduit in the HotSync
// process) reaches the real converter by ProgID. What a user registered is
// left alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/session.h"
#include "frontend/brevora/library_folder.h"
#include "frontend/brevora/module_registration.h"
#include "frontend/brevora/suite_conduits.h"
#include "frontend/module_classes.h"
#include "platform/automation/class_registry.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/host/conduit_registry.h"
#include "platform/registry/registry.h"
#include "sheet/sdk.h"
#include "testing/spawn.h"
#include "testing/temp_home.h"

namespace brevora::frontend::program {
namespace {

using hotsync::host::ConduitRegistration;
using registry::Hive;
namespace stdfs = std::filesystem;

std::string Library(const char* name) {
  return (stdfs::path(ProgramLibraryFolder()) / name).string();
}

std::string ElsewhereFile(const std::string& name) {
  const std::string file = testing::MakeTempDir("elsewhere") + "/" + name;
  std::ofstream(file) << "x";
  return file;
}

TEST(SuiteConduits, AreRegisteredForTheWindowsFolders) {
  ASSERT_EQ(RegisterSuiteConduits(ProgramLibraryFolder()), "");
  EXPECT_EQ(hotsync::host::RegisteredConduits(),
            (std::vector<ConduitRegistration>{
                {"Tabulyn", fs::SystemPath(Library("libtabrel.so")), "tabrel", "Zeri"},
                {"Scrivane", fs::SystemPath(Library("libscriv.so")), "scriv", "Scrv"}}));
  // A second start changes nothing.
  EXPECT_EQ(RegisterSuiteConduits(ProgramLibraryFolder()), "");
  EXPECT_EQ(hotsync::host::RegisteredConduits().size(), 2u);
}

TEST(SuiteConduits, WhatTheUserRegisteredIsLeftAlone) {
  const std::string theirs = ElsewhereFile("libtabrel.so");
  const std::string sheets = ElsewhereFile("libsheets.so");
  hotsync::host::RegisterConduit({"TABULYN", fs::SystemPath(theirs), "Tabulyn", "Zeri"});
  hotsync::host::RegisterConduit({"Sheets", fs::SystemPath(sheets), "sheets", "Scrv"});
  EXPECT_EQ(RegisterSuiteConduits(ProgramLibraryFolder()), "");
  EXPECT_EQ(
      hotsync::host::RegisteredConduits(),
      (std::vector<ConduitRegistration>{{"TABULYN", fs::SystemPath(theirs), "Tabulyn", "Zeri"},
                                        {"Sheets", fs::SystemPath(sheets), "sheets", "Scrv"}}));
}

TEST(SuiteConduits, OneWhoseLibraryIsGoneIsRegisteredAgain) {
  hotsync::host::RegisterConduit({"Scrivane", "/nowhere/libscriv.so", "Scrivane", "Scrv"});
  EXPECT_EQ(RegisterSuiteConduits(ProgramLibraryFolder()), "");
  EXPECT_EQ(
      hotsync::host::FindConduit("Scrivane"),
      (ConduitRegistration{"Scrivane", fs::SystemPath(Library("libscriv.so")), "scriv", "Scrv"}));
}

TEST(SuiteConduits, MissingLibrariesAndABrokenRegistryAreReported) {
  const std::string empty = testing::MakeTempDir("no-libraries");
  EXPECT_EQ(RegisterSuiteConduits(empty), "the conduit library " + empty +
                                              "/libtabrel.so is not there. "
                                              "the conduit library " +
                                              empty + "/libscriv.so is not there.");
  EXPECT_TRUE(hotsync::host::RegisteredConduits().empty());

  const std::string hive = testing::TempHome() + "/registry/HKEY_CURRENT_USER.reg";
  stdfs::create_directories(testing::TempHome() + "/registry");
  std::ofstream(hive) << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\n";
  const std::string problem = RegisterSuiteConduits(ProgramLibraryFolder());
  EXPECT_NE(problem.find("HKEY_CURRENT_USER.reg"), std::string::npos) << problem;
}

// The probe links the platform library only: what it creates comes through
// HKEY_CLASSES_ROOT, from a library it loads.
struct ProbeRun {
  int status;
  std::string out;
};

ProbeRun Probe(const std::vector<std::string>& args) {
  const std::string folder = testing::MakeTempDir("probe");
  const int status = testing::SpawnAndWait(CREATE_OBJECT_PROBE, args,
                                           {"/dev/null", folder + "/out", folder + "/err"});
  std::ifstream out(folder + "/out", std::ios::binary), err(folder + "/err", std::ios::binary);
  return {status, std::string(std::istreambuf_iterator<char>(out), {}) +
                      std::string(std::istreambuf_iterator<char>(err), {})};
}

TEST(ModuleClasses, AnotherProcessReachesTheRealConvertersAfterTheRegistration) {
  const std::string folder = testing::MakeTempDir("files");
  const std::vector<std::string> xls = {"TabulynPC.SDK", "XLSToTBRExt_Sync", folder + "/a.xls",
                                        folder + "/a.tbr", ""};
  const std::vector<std::string> doc = {"TabulynPC.SDK_Document", "DOCToSCVExt_Sync",
                                        folder + "/a.doc", folder + "/a.scv", ""};
  // Before: nothing to create.
  ProbeRun run = Probe(xls);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "error 429: ActiveX component can't create object\n");

  ASSERT_EQ(RegisterModuleClasses(ModuleLibraryFile()), "");
  for (const ModuleClass& c : ModuleClasses()) {
    const auto clsid =
        registry::QueryValue(Hive::ClassesRoot, std::string(c.progId) + "\\CLSID", "");
    ASSERT_TRUE(clsid) << c.progId;
    EXPECT_EQ(clsid->text, c.clsid);
    const auto server = registry::QueryValue(
        Hive::ClassesRoot, "CLSID\\" + std::string(c.clsid) + "\\InprocServer32", "");
    ASSERT_TRUE(server) << c.progId;
    EXPECT_EQ(fs::NativePath(server->text), ModuleLibraryFile());
  }
  // The real converters: they report that Office can't be reached here.
  run = Probe(xls);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with("created TabulynPC.SDK\nerror 32760: ")) << run.out;
  EXPECT_NE(run.out.find("Error getting excel object."), std::string::npos) << run.out;
  run = Probe(doc);
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with("created TabulynPC.SDK_Document\nerror 32760: ")) << run.out;
  EXPECT_NE(run.out.find("Could not get word object."), std::string::npos) << run.out;
}

TEST(ModuleClasses, AClassRegisteredToALibraryThatExistsIsLeftAlone) {
  const std::string theirs = ElsewhereFile("libfake.so");
  RegisterServer(sheet::SDK::kProgId, "{00000000-0000-0000-0000-0000000000F1}", theirs);
  RegisterServer("TabulynPC.Session", "{00000000-0000-0000-0000-0000000000F2}",
                 "/nowhere/libgone.so");
  ASSERT_EQ(RegisterModuleClasses(ModuleLibraryFile()), "");
  EXPECT_EQ(registry::QueryValue(Hive::ClassesRoot, "TabulynPC.SDK\\CLSID", "")->text,
            "{00000000-0000-0000-0000-0000000000F1}");
  EXPECT_EQ(registry::QueryValue(Hive::ClassesRoot, "TabulynPC.Session\\CLSID", "")->text,
            core::Session::kClsid);
  EXPECT_EQ(RegisterModuleClasses("/nowhere/libtabrelpc.so"),
            "the library /nowhere/libtabrelpc.so is not there.");
}

}  // namespace
}  // namespace brevora::frontend::program
