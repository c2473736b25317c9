#pragma once
// What the tests of the window's commands share: a home folder of categories
// used as the application object's custom home, files in it, a presentation
// database, and a category list over a vector standing in for the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/session.h"
#include "frontend/category_commands.h"
#include "frontend/document_commands.h"
#include "frontend/file_import.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/automation/variant.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "platform/text/case.h"
#include "slides/pictures_test_support.h"
#include "slides/presentation.h"
#include "testing/temp_home.h"

namespace brevora::frontend::test {

// A folder used as every mode's home ("HomePath" with "UseHomePath" 1).
inline std::string MakeCustomHome(const std::string& name = "home") {
  const std::string home = testing::MakeTempDir(name) + "/";
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "HomePath",
                     registry::Value::String(home));
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "UseHomePath",
                     registry::Value::DWord(1));
  return home;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A presentation database of one slide at `path`, not marked modified.
inline void WritePresentation(TabrelPC& app, const std::string& path, const std::string& name) {
  const std::string picture = testing::MakeTempDir("picture-" + name) + "/slide.png";
  slides::testing::WriteTestPicture(picture, 32, 24, 8);
  Ref<Dispatch> deck = app.Session()->GetPresentation();
  CallByName(deck, "InitFromDefaults", CallKind::Method);
  CallByName(deck, "FileName", CallKind::Let, name);
  const Variant slides = CallByName(deck, "Slides", CallKind::Get);
  const Variant slide =
      CallByName(ObjectOf(slides), "Add", CallKind::Method, int16_t{1}, int16_t{0}, picture);
  CallByName(ObjectOf(slide), "addThumbnail", CallKind::Method, picture, int16_t{0});
  CallByName(deck, "IsModified", CallKind::Let, false);
  CallByName(deck, "WriteToDisk", CallKind::Method, path, false);
  CallByName(deck, "ClosePresentation", CallKind::Method);
}

inline bool PresentationIsModified(TabrelPC& app, const std::string& path) {
  Ref<Dispatch> deck = app.Session()->GetPresentation();
  CallByName(deck, "OpenFromDisk", CallKind::Method, path, false, false);
  const bool modified = CBool(CallByName(deck, "IsModified", CallKind::Get));
  CallByName(deck, "ClosePresentation", CallKind::Method);
  return modified;
}

// lstCategory over a vector. InitCategories lists the home folder's categories
// in the order given by `reverse` (the file system's order is not settled).
class FakeCategoryList : public CategoryList {
 public:
  explicit FakeCategoryList(std::string home, bool reverse = false)
      : home_(std::move(home)), reverse_(reverse) {}

  int Count() const override { return static_cast<int>(rows.size()); }
  int SelectedIndex() const override { return selected; }
  std::string Text(int row) const override { return rows.at(static_cast<size_t>(row)); }
  void Select(int row) override {
    selected = row;
    log.push_back("Select(" + rows.at(static_cast<size_t>(row)) + ")");
  }
  void SetText(int row, const std::string& text) override {
    rows.at(static_cast<size_t>(row)) = text;
  }
  void RemoveRow(int row) override {
    rows.erase(rows.begin() + row);
    selected = -1;
  }
  void InitCategories() override {
    rows = fs::ListFolder(home_, fs::ListKind::Folders);
    if (reverse_) std::reverse(rows.begin(), rows.end());
    selected = rows.empty() ? -1 : 0;
    log.push_back("InitCategories");
  }
  void InitWorkbooks(const std::string& category, bool append) override {
    log.push_back("InitWorkbooks(" + category + (append ? ", True)" : ", False)"));
  }
  void PressRefresh() override { log.push_back("Refresh"); }
  void EnableRenameAndDelete(bool enabled) override {
    log.push_back(enabled ? "EnableRenameAndDelete" : "DisableRenameAndDelete");
  }
  void NameBoxChanged() override { log.push_back("txtWorkbook_Change"); }

  std::vector<std::string> rows;
  int selected = -1;
  std::vector<std::string> log;

 private:
  std::string home_;
  bool reverse_;
};

}  // namespace brevora::frontend::test

namespace brevora::frontend::test {

// lstWorkbook over a vector; `selected` holds the selected rows, the first of
// them the selected index.
class FakeDocumentList : public DocumentList {
 public:
  explicit FakeDocumentList(std::vector<std::string> rows) : rows(std::move(rows)) {}
  int Count() const override { return static_cast<int>(rows.size()); }
  int SelectedIndex() const override { return selected.empty() ? -1 : *selected.begin(); }
  std::string Text(int row) const override { return rows.at(static_cast<size_t>(row)); }
  bool IsSelected(int row) const override { return selected.count(row) != 0; }
  void RemoveRow(int row) override {
    rows.erase(rows.begin() + row);
    std::set<int> moved;
    for (int s : selected) {
      if (s < row) moved.insert(s);
      if (s > row) moved.insert(s - 1);
    }
    selected = moved;
  }
  void Select(int row) override {
    selected = {row};
    clicked.push_back(rows.at(static_cast<size_t>(row)));
  }

  std::vector<std::string> rows;
  std::set<int> selected;
  std::vector<std::string> clicked;  // lstWorkbook_ItemClick, in order
};

}  // namespace brevora::frontend::test

namespace brevora::frontend::test {

// The window around an import: GetFileType by the extension (a .pdb by its
// creator), the mode switch applied to the application object, and every call
// logged in order.
class FakeImportWindow : public ImportWindow {
 public:
  FakeImportWindow(TabrelPC& app, std::string category)
      : category(std::move(category)), app_(app) {}

  int FileType(const std::string& path) override {
    const std::string ext = text::LCase(fs::ExtensionPart(path));
    if (ext == ".xls") return kTypeXls;
    if (ext == ".tbr") return kTypeTbr;
    if (ext == ".doc") return kTypeDoc;
    if (ext == ".scv") return kTypeScv;
    if (ext == ".txt") return kTypeTxt;
    if (ext == ".pdb")
      return slides::Presentation::FileIsPresentation(path) ? kTypePresentationPdb
                                                            : kTypeDocumentPdb;
    if (ext == ".htm" || ext == ".html") return kTypeHtml;
    if (ext == ".ppt") return kTypePpt;
    return kTypeUnknown;
  }
  void SwitchFileMode(int button) override {
    app_.SetFileMode(static_cast<int16_t>(button - 1));
    log.push_back("SwitchFileMode(" + std::to_string(button) + ")");
  }
  std::string CurrentCategory() override { return category; }
  void SetStatusText(const std::string& text) override { status.push_back(text); }
  void ShowWait(const std::string& text, bool force) override {
    waiting = true;
    log.push_back("ShowWait(" + text + (force ? ", True)" : ", False)"));
  }
  void HideWait(bool) override { waiting = false; }
  void SetEnabled(bool value) override { enabled = value; }
  void SetBusy(bool value) override { busy = value; }
  std::optional<bool> PresentationOptions(const std::string& pptPath) override {
    log.push_back("Options(" + pptPath + ")");
    return options;
  }
  void RefillFiles(const std::string& refilled, const std::string& name) override {
    log.push_back("Refill(" + refilled + ", " + name + ")");
  }

  std::string category;
  std::optional<bool> options;  // the options dialog's answer
  std::vector<std::string> log;
  std::vector<std::string> status;
  bool waiting = false;
  bool enabled = true;
  bool busy = false;

 private:
  TabrelPC& app_;
};

}  // namespace brevora::frontend::test
