// The Edit menu's commands on the focused control, and the list search.
#include "frontend/forms/edit_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWidget>

namespace brevora::frontend::forms {
namespace {

TEST(EditCommands, CutCopyAndPasteWorkOnTheFocusedTextBox) {
  QWidget window;
  auto* name = new QLineEdit(QStringLiteral("Budget 2024"), &window);
  auto* other = new QLineEdit(QStringLiteral("untouched"), &window);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(name);
  layout->addWidget(other);
  window.show();
  QApplication::setActiveWindow(&window);
  name->setFocus();
  QApplication::processEvents();
  if (QApplication::focusWidget() != name) GTEST_SKIP() << "the platform gives no focus";

  name->setSelection(0, 6);  // "Budget"
  EditCopy();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Budget"));
  EXPECT_EQ(name->text(), QStringLiteral("Budget 2024"));
  name->setSelection(7, 4);  // "2024"
  EditCut();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("2024"));
  EXPECT_EQ(name->text(), QStringLiteral("Budget "));
  name->selectAll();
  EditPaste();
  EXPECT_EQ(name->text(), QStringLiteral("2024"));
  EXPECT_EQ(other->text(), QStringLiteral("untouched"));
}

TEST(EditCommands, SelectListItemFindsTheWholeTextInAnyCase) {
  QTreeWidget list;
  list.setColumnCount(2);
  for (const char* text : {"Workbooks", "Work", "Plan"}) {
    auto* item = new QTreeWidgetItem(&list);
    item->setText(0, QString::fromLatin1(text));
    item->setText(1, QStringLiteral("Work"));
  }
  SelectListItem(list, "work");
  ASSERT_TRUE(list.currentItem());
  EXPECT_EQ(list.currentItem()->text(0), QStringLiteral("Work"));
  EXPECT_TRUE(list.currentItem()->isSelected());
  SelectListItem(list, "Missing");
  SelectListItem(list, "");
  EXPECT_EQ(list.currentItem()->text(0), QStringLiteral("Work"));
}

}  // namespace
}  // namespace brevora::frontend::forms
