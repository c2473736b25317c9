#include "frontend/category_commands.h"

#include <optional>

#include "core/module_state.h"
#include "frontend/category_folders.h"
#include "frontend/form_factory.h"
#include "frontend/name_validator.h"
#include "frontend/show_dialog.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"

namespace brevora::frontend {
namespace {

using services::MsgButtons;
using services::MsgIcon;

void Show(const std::string& text, MsgIcon icon) {
  services::ShowMessage({text, "Brevora", MsgButtons::Ok, icon});
}

constexpr const char* kLockedMessage =
    "This directory cannot be renamed bacause an item in it is currently locked.";
constexpr const char* kRenameRefused =
    "Cannot properly rename category.  Set HotSync Action for Tabulyn to 'Desktop overwrites "
    "device' "
    "before your next sync.";

// Shows frmNewCategory opened with `current`; the name chosen, nothing after Cancel.
std::optional<std::string> AskCategoryName(TabrelPC& app, const std::string& current) {
  const Ref<Form> dialog = Forms()->Create("frmNewCategory");
  CallByName(*dialog, "oTabrelPC", CallKind::Set, Ref<Dispatch>(&app));
  CallByName(*dialog, "Category", CallKind::Let, current);
  Utility::ShowDialog(*dialog);
  if (core::Module().gDialogCancelled) {
    dialog->Unload();
    return std::nullopt;
  }
  std::string name = CStr(CallByName(*dialog, "Category", CallKind::Get));
  dialog->Unload();
  return name;
}

// Shows frmDelete; the option chosen (0 copy to "Unfiled", 1 delete), nothing after Cancel.
std::optional<int> AskDeleteOption() {
  const Ref<Form> dialog = Forms()->Create("frmDelete");
  Utility::ShowDialog(*dialog);
  if (core::Module().gDialogCancelled) {
    dialog->Unload();
    return std::nullopt;
  }
  const int option = CInt(CallByName(*dialog, "DeleteOption", CallKind::Get));
  dialog->Unload();
  return option;
}

// The name a dialog handed back, checked once more before it names a folder.
bool AcceptableName(TabrelPC& app, const std::string& name, const std::string& original) {
  const std::string problem = CheckCategoryName(app.HomeDirectory(), name, original);
  if (problem.empty()) return true;
  Show(problem, MsgIcon::Critical);
  return false;
}

bool IsUnfiled(std::string_view category) { return text::EqualsNoCase(category, kUnfiledCategory); }

void Add(TabrelPC& app, CategoryList& list) {
  if (list.Count() >= kCategoryRowLimit) {
    Show("You can have a maximum of " + std::to_string(kCategoryRowLimit - 1) + ".",
         MsgIcon::Information);
    return;
  }
  if (const std::optional<std::string> name = AskCategoryName(app, "")) {
    if (!AcceptableName(app, *name, "")) return;
    fs::MakeFolder(CategoryFolder(app.HomeDirectory(), *name));
    list.InitCategories();
    SelectCategoryByName(list, *name);
  }
  list.InitWorkbooks(SelectedCategory(list), false);
  list.NameBoxChanged();
}

void Rename(TabrelPC& app, CategoryList& list) {
  const std::string oldName = SelectedCategory(list);
  if (oldName.empty() || IsUnfiled(oldName)) return;
  const std::optional<std::string> newName = AskCategoryName(app, oldName);
  if (!newName || !AcceptableName(app, *newName, oldName)) return;
  const std::string home = app.HomeDirectory();
  const std::string folder = CategoryFolder(home, *newName);
  fs::RenameNoReplace(CategoryFolder(home, oldName), folder);
  try {
    // Every document of the category counts as changed at the next HotSync.
    for (const std::string& name : CategoryDocuments(folder, app.Session()->FileMode())) {
      try {
        app.MakeDirty(fs::JoinPath(folder, name));
      } catch (...) {
        Show(kRenameRefused, MsgIcon::Critical);
      }
    }
    list.SetText(list.SelectedIndex(), *newName);
    SelectCategoryByName(list, *newName);
  } catch (...) {
    // The folder has its new name: the lists show what is on disk again.
    list.InitCategories();
    SelectCategoryByName(list, *newName);
    throw;
  }
}

void Delete(TabrelPC& app, CategoryList& list) {
  const std::string category = SelectedCategory(list);
  if (category.empty() || IsUnfiled(category)) return;
  const std::optional<int> option = AskDeleteOption();
  if (option) {
    const std::string home = app.HomeDirectory();
    const std::string folder = CategoryFolder(home, category);
    if (*option == 0 && !CopyCategoryFiles(app, category, kUnfiledCategory)) {
      Show("Files could not be moved.  Delete Canceled.", MsgIcon::Critical);
      return;
    }
    try {
      for (const std::string& name : CategoryDocuments(folder, app.Session()->FileMode())) {
        fs::RemoveFile(fs::JoinPath(folder, name));
      }
    } catch (...) {
      const AutomationError error = CurrentError();
      if (error.number() != fs::kFileNotFound) {
        Show(error.description(), MsgIcon::Critical);
        return;
      }
    }
    if (!IsFolderEmpty(folder)) {
      Show(
          "The current category is not empty.  Check to be sure that there are no other files in "
          "the "
          "directory:\r\n\r\n'" +
              folder + "'.\r\n\r\nThis category can not be deleted.",
          MsgIcon::Exclamation);
      return;
    }
    fs::RemoveFolder(folder);
    list.RemoveRow(list.SelectedIndex());
    if (*option == 0) list.InitCategories();
    if (list.SelectedIndex() < 0 && list.Count() > 0) list.Select(list.Count() - 1);
    if (*option == 0) list.PressRefresh();
  }
  if (list.Count() == 0) list.EnableRenameAndDelete(false);
  list.NameBoxChanged();
}

}  // namespace

std::string SelectedCategory(const CategoryList& list) {
  const int row = list.SelectedIndex();
  return row >= 0 && row < list.Count() ? list.Text(row) : std::string();
}

bool SelectCategoryByName(CategoryList& list, std::string_view name) {
  int caseless = -1;
  for (int row = 0; row < list.Count(); ++row) {
    const std::string text = list.Text(row);
    if (text == name) {
      list.Select(row);
      return true;
    }
    if (caseless < 0 && text::EqualsNoCase(text, name)) caseless = row;
  }
  if (caseless < 0) return false;
  list.Select(caseless);
  return true;
}

std::string CheckCategoryName(std::string_view home, std::string_view typed,
                              std::string_view original) {
  const NameFault fault = CheckName(typed, kMaxCategoryName);
  if (fault != NameFault::kNone) return NameFaultMessage(fault, kMaxCategoryName, "category");
  const std::optional<std::string> existing = fs::FindNoCase(home, typed);
  if (!existing) return {};
  const bool caseOnlyRename = !original.empty() && *existing == original && typed != original &&
                              text::EqualsNoCase(typed, original);
  return caseOnlyRename ? std::string() : "This category already exists.";
}

void ManageCategory(TabrelPC& app, CategoryList& list, CategoryAction action) {
  try {
    switch (action) {
      case CategoryAction::Add:
        Add(app, list);
        break;
      case CategoryAction::Rename:
        Rename(app, list);
        break;
      case CategoryAction::Delete:
        Delete(app, list);
        break;
    }
  } catch (...) {
    const AutomationError error = CurrentError();
    if (error.number() == fs::kPathFileAccess) {
      Show(kLockedMessage, MsgIcon::Information);
    } else {
      Show(error.description(), MsgIcon::Critical);
    }
  }
}

}  // namespace brevora::frontend
