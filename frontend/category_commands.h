#pragma once
// The category commands of the main window (ManageCategory: add, rename,
// delete) without the window: they work on the home folder of the window's
// application object, ask through the dialogs frmNewCategory and frmDelete
// (made by the form factory, shown by Utility::ShowDialog) and change the
// window's lists through CategoryList, which the window implements (tests
// implement it over a vector).
//
// Guards beyond the window's menu states: rename and delete refuse a missing
// selection and "Unfiled" (any case) without a word; every name is checked
// again here with the name validator before a folder is made or renamed; no
// folder is ever replaced. Everything is reported in message boxes titled
// "Brevora"; nothing is raised.
#include <string>
#include <string_view>

namespace brevora::frontend {

class TabrelPC;

inline constexpr const char* kUnfiledCategory = "Unfiled";
// The add is refused once the list holds this many rows; the message names one less.
inline constexpr int kCategoryRowLimit = 16;

// The window's side of the commands: the category list box lstCategory
// (rows 0-based, -1 for no selection) and what the window does around it.
class CategoryList {
 public:
  virtual ~CategoryList() = default;
  virtual int Count() const = 0;
  virtual int SelectedIndex() const = 0;
  virtual std::string Text(int row) const = 0;
  // Selecting a row runs the list's click (the file list follows).
  virtual void Select(int row) = 0;
  virtual void SetText(int row, const std::string& text) = 0;
  virtual void RemoveRow(int row) = 0;
  // InitCategories, InitWorkbooks(category, append), btnRefresh pressed,
  // "Re&name Category..." and "De&lete Category" enabled or not,
  // txtWorkbook_Change.
  virtual void InitCategories() = 0;
  virtual void InitWorkbooks(const std::string& category, bool append) = 0;
  virtual void PressRefresh() = 0;
  virtual void EnableRenameAndDelete(bool enabled) = 0;
  virtual void NameBoxChanged() = 0;
};

// The selected row's text; "" when none is selected.
std::string SelectedCategory(const CategoryList& list);
// Selects the row whose text is exactly `name`, else the first that equals it
// without regard to case; returns false (selection unchanged) when none does.
bool SelectCategoryByName(CategoryList& list, std::string_view name);

// frmNewCategory's check of the typed name on OK: "" when it may be taken, else
// the message to show. `original` is the name the dialog opened with ("" for a
// new category). A name already in the home folder in any case is refused
// ("This category already exists."), except the category being renamed when
// only the letter case changes.
std::string CheckCategoryName(std::string_view home, std::string_view typed,
                              std::string_view original);

enum class CategoryAction { Add = 0, Rename = 1, Delete = 2 };

// ManageCategory: one command for the window's application object and lists.
void ManageCategory(TabrelPC& app, CategoryList& list, CategoryAction action);

}  // namespace brevora::frontend
