#pragma once
// A desktop for the window's tests: the three products installed, Palm Desktop
// with HotSync users under the test's home, and documents of each kind made by
// the project's own writers (optionally linked to an Office file).
#include <cstdint>
#include <string>

#include "core/file_mode.h"
#include "core/users_test_support.h"
#include "doc/document.h"
#include "platform/fs/files.h"
#include "platform/registry/registry.h"
#include "sheet/workbook.h"
#include "slides/presentation.h"
#include "testing/temp_home.h"

namespace brevora::frontend::test {

// "Version" of each product that is installed (true), none for the others.
inline void InstallProducts(bool tabulyn = true, bool scrivane = true, bool slidora = true) {
  const char* products[] = {"Tabulyn", "Scrivane", "Slidora"};
  const bool on[] = {tabulyn, scrivane, slidora};
  for (int i = 0; i < 3; ++i) {
    if (on[i]) {
      registry::SetValue(registry::Hive::CurrentUser,
                         std::string("Software\\Orvanex\\") + products[i], "Version",
                         registry::Value::String("1.0"));
    }
  }
}

// Palm Desktop (once) and a HotSync user whose folder is <home>/Palm/<directory>.
inline std::string AddDesktopUser(int32_t id, const std::string& name,
                                  const std::string& directory) {
  const std::string root = core::test::PalmFolder();
  if (!fs::FolderExists(root)) core::test::SeedPalmDesktop(root);
  fs::MakeFolder(root + "/" + directory);
  core::test::AddPalmUser(id, name, directory);
  return root + "/" + directory;
}

// The category folder of a user's folder for a file mode, made.
inline std::string CategoryFolder(const std::string& userFolder, int16_t fileMode,
                                  const std::string& category) {
  const std::string folder = userFolder + "/" + core::FileModeFolder(fileMode) + "/" + category;
  fs::MakeFolder(folder);
  return folder;
}

inline void WriteWorkbook(const std::string& path, const std::string& link = {}) {
  Ref<sheet::Workbook> workbook = MakeRef<sheet::Workbook>();
  workbook->InitFromDefaults();
  if (!link.empty()) workbook->SetLinkedXLSFileName(link);
  workbook->WriteToDisk(path);
}

inline void WriteDocument(const std::string& path, const std::string& link = {}) {
  Ref<doc::Document> document = MakeRef<doc::Document>();
  document->InitFromDefaults();
  document->SetBlocks({"Some text."});
  if (!link.empty()) document->SetLinkedDOCFileName(link);
  document->WriteToDisk(path);
}

inline void WritePresentation(const std::string& path, const std::string& link = {}) {
  Ref<slides::Presentation> presentation = MakeRef<slides::Presentation>();
  presentation->InitFromDefaults();
  if (!link.empty()) presentation->SetLinkedPPTFileName(link);
  presentation->WriteToDisk(path);
}

}  // namespace brevora::frontend::test
