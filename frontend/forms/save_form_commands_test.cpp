// The main window's own commands offscreen, in the real frmSave opened as the
// host opens it: files dropped on the list, a label renamed in place, the
// category dialogs by scripted clicks, the Delete keys, the drag of documents
// onto another category and the phone sync button.
#include "frontend/forms/save_form_commands.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/module_state.h"
#include "core/session.h"
#include "frontend/form_factory.h"
#include "frontend/forms/frm_delete.h"
#include "frontend/forms/frm_new_category.h"
#include "frontend/forms/frm_save.h"
#include "frontend/forms/qt_form_factory.h"
#include "frontend/forms/window_drawing.h"
#include "frontend/forms/window_test_support.h"
#include "frontend/frontend_test_support.h"
#include "frontend/phone_sync.h"
#include "frontend/tabrel_pc.h"
#include "frontend/window_test_home.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/services/file_dialog.h"
#include "platform/services/service_slot.h"
#include "testing/screenshot.h"

namespace brevora::frontend::forms {
namespace {

namespace stdfs = std::filesystem;
using services::MsgResult;

std::vector<std::string> Files(const std::string& folder) {
  std::vector<std::string> names;
  if (!stdfs::exists(folder)) return names;
  for (const auto& e : stdfs::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void Key(QWidget& widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
  QApplication::sendEvent(&widget, &release);
}

// Anna's desktop: workbooks in "Business" and "Unfiled", an empty "Travel".
class WindowCommands : public test::MainWindowDesktop {
 protected:
  void SetUp() override {
    MainWindowDesktop::SetUp();
    business_ = test::CategoryFolder(user_, 0, "Business");
    test::CategoryFolder(user_, 0, "Travel");
    test::CategoryFolder(user_, 0, "Unfiled");
    test::CategoryFolder(user_, 1, "Unfiled");
    test::WriteWorkbook(business_ + "/Budget.tbr");
    test::WriteWorkbook(business_ + "/Staff.tbr");
    form_ = &OpenMainWindow();
  }
  frmSave& W() { return form_->window(); }
  std::string Tabrel(const std::string& category) { return user_ + "/tabrel/" + category; }

  test::RecordedMessages messages_;
  std::string business_;
  SaveForm* form_ = nullptr;
};

TEST_F(WindowCommands, FilesDroppedOnTheListAreImportedInOrder) {
  const std::string outside = testing::MakeTempDir("outside");
  std::ofstream(outside + "/notes.txt") << "first line\r\n";
  test::WriteWorkbook(outside + "/Costs.tbr");
  test::WriteWorkbook(outside + "/Plan.tbr");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(outside + "/Costs.tbr")),
                QUrl(QStringLiteral("https://example.com/x.tbr")),
                QUrl::fromLocalFile(QString::fromStdString(outside + "/Plan.tbr"))});
  QWidget* viewport = W().lstWorkbook->viewport();
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &drop);
  EXPECT_EQ(test::Texts(*W().lstWorkbook),
            (std::vector<std::string>{"Budget", "Costs", "Plan", "Staff"}));
  ASSERT_TRUE(W().lstWorkbook->currentItem());
  EXPECT_EQ(W().lstWorkbook->currentItem()->text(0).toStdString(), "Plan");
  EXPECT_TRUE(messages_->shown().empty());
  // The drop's scratch folder went with it.
  EXPECT_EQ(Files(business_),
            (std::vector<std::string>{"Budget.tbr", "Costs.tbr", "Plan.tbr", "Staff.tbr"}));

  // A text file switches the window to documents first. (Each drag enters
  // before it drops: Qt sends a drop only to the widget that took the enter.)
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(outside + "/notes.txt"))});
  QDragEnterEvent again(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &again);
  QDropEvent text(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &text);
  EXPECT_TRUE(W().fileModeButtons[1]->isChecked());
  EXPECT_EQ(app_->Session()->FileMode(), 1);
  EXPECT_EQ(test::Texts(*W().lstWorkbook), std::vector<std::string>{"notes"});
  EXPECT_EQ(W().StatusBar1->currentMessage().toStdString(), "");
}

// File > Add File and the tool bar's Add ask for the file in the file dialog;
// where no dialog can be shown the user is told so.
TEST_F(WindowCommands, AddFileAsksForTheFileInTheFileDialog) {
  const std::string outside = testing::MakeTempDir("outside");
  test::WriteWorkbook(outside + "/Costs.tbr");
  auto dialog = std::make_shared<services::ScriptedFileDialog>();
  services::ScopedService<services::FileDialog> scope(services::InstallFileDialog, dialog);
  dialog->Answer(outside + "/Costs.tbr");
  dialog->Answer(std::nullopt);  // the tool bar's dialog is cancelled

  test::ChooseMenuItem(*W().mnuFile, *W().mnuFileAdd);
  ASSERT_EQ(dialog->requests().size(), 1u);
  EXPECT_EQ(dialog->requests()[0],
            (services::FileRequest{services::FileDialogKind::Open,
                                   "Add existing XLS or TBR spreadsheet to user", "",
                                   "Spreadsheets (*.xls;*.tbr)|*.xls;*.tbr"}));
  EXPECT_EQ(Files(business_), (std::vector<std::string>{"Budget.tbr", "Costs.tbr", "Staff.tbr"}));
  ASSERT_TRUE(W().lstWorkbook->currentItem());
  EXPECT_EQ(W().lstWorkbook->currentItem()->text(0).toStdString(), "Costs");

  W().btnAdd->trigger();
  EXPECT_EQ(dialog->requests().size(), 2u);
  EXPECT_EQ(Files(business_).size(), 3u);
  EXPECT_TRUE(messages_->shown().empty());  // a cancel is not reported
  EXPECT_TRUE(W().isEnabled());

  services::ScopedService<services::FileDialog> none(services::InstallFileDialog,
                                                     std::make_shared<services::NoFileDialog>());
  W().btnAdd->trigger();
  ASSERT_EQ(messages_->shown().size(), 1u);
  EXPECT_EQ(messages_->shown()[0].text,
            "No file dialog can be shown here.  To add a file, drop it on the file list or start "
            "brevora with its "
            "name.");
  EXPECT_EQ(messages_->shown()[0].title, "Brevora");
  EXPECT_EQ(dialog->requests().size(), 2u);
}

// The windows library's own file dialog is Qt's: Add File shows it over the window.
TEST_F(WindowCommands, AddFileShowsTheQtFileDialog) {
  services::ScopedService<services::FileDialog> scope(services::InstallFileDialog,
                                                      std::make_shared<qt::QtFileDialog>());
  QString title;
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, &title] {
    auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!shown) return;
    poll->stop();
    poll->deleteLater();
    title = shown->windowTitle();
    testing::SaveScreenshot(*shown, "frmSave_add_file");
    shown->reject();
  });
  poll->start(10);
  W().mnuFileAdd->trigger();
  EXPECT_EQ(title.toStdString(), "Add existing XLS or TBR spreadsheet to user");
  EXPECT_TRUE(messages_->shown().empty());
  EXPECT_EQ(Files(business_).size(), 2u);
}

TEST_F(WindowCommands, TheHostsBringFileInImports) {
  const std::string outside = testing::MakeTempDir("outside");
  test::WriteWorkbook(outside + "/Costs.tbr");
  CallByName(*form_, "BringFileIn", CallKind::Method, outside + "/Costs.tbr");
  EXPECT_EQ(Files(business_), (std::vector<std::string>{"Budget.tbr", "Costs.tbr", "Staff.tbr"}));
}

TEST_F(WindowCommands, ALabelRenamedInPlaceRenamesTheFileOnCommit) {
  QTreeWidget& list = *W().lstWorkbook;
  const auto rename = [&](int row, const QString& typed) {
    list.setCurrentItem(list.topLevelItem(row));
    list.editItem(list.topLevelItem(row), 0);
    auto* editor = list.findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    editor->setText(typed);
    Key(*editor, Qt::Key_Return);
    test::Deliver();
  };
  rename(0, QStringLiteral("../Travel/Escape"));
  EXPECT_EQ(test::Texts(list), (std::vector<std::string>{"Budget", "Staff"}));
  ASSERT_EQ(messages_->shown().size(), 1u);
  rename(0, QStringLiteral("Costs.tbr"));
  EXPECT_EQ(test::Texts(list), (std::vector<std::string>{"Costs", "Staff"}));
  EXPECT_EQ(Files(business_), (std::vector<std::string>{"Costs.tbr", "Staff.tbr"}));
  EXPECT_TRUE(Files(Tabrel("Travel")).empty());
  rename(0, QStringLiteral("staff"));  // taken
  EXPECT_EQ(test::Texts(list), (std::vector<std::string>{"Costs", "Staff"}));
  EXPECT_EQ(messages_->shown().size(), 2u);
  EXPECT_EQ(messages_->shown()[1].text, "Could not rename this workbook.\r\nFile already exists");
}

TEST_F(WindowCommands, TheCategoryCommandsThroughTheirDialogs) {
  test::WhenModal<frmNewCategory>([](frmNewCategory& d) {
    d.txtCategory->setText(QStringLiteral("Work"));
    d.cmdOkCancel[0]->click();
  });
  W().mnuCategory[0]->trigger();
  EXPECT_EQ(test::Texts(*W().lstCategory),
            (std::vector<std::string>{"Business", "Travel", "Unfiled", "Work"}));
  EXPECT_EQ(W().lstCategory->currentItem()->text().toStdString(), "Work");

  W().lstCategory->setCurrentRow(0);  // Business
  test::WhenModal<frmNewCategory>([](frmNewCategory& d) {
    EXPECT_EQ(d.txtCategory->text(), QStringLiteral("Business"));
    testing::SaveScreenshot(d, "frmNewCategory-in-window");
    d.txtCategory->setText(QStringLiteral("Office"));
    d.cmdOkCancel[0]->click();
  });
  W().mnuCategory[1]->trigger();
  EXPECT_EQ(W().lstCategory->currentItem()->text().toStdString(), "Office");
  EXPECT_EQ(Files(Tabrel("Office")), (std::vector<std::string>{"Budget.tbr", "Staff.tbr"}));

  test::WhenModal<frmDelete>([](frmDelete& d) {
    testing::SaveScreenshot(d, "frmDelete-in-window");
    d.cmdOkCancel[0]->click();  // copy to "Unfiled" first
  });
  W().mnuCategory[2]->trigger();
  EXPECT_FALSE(stdfs::exists(Tabrel("Office")));
  EXPECT_EQ(Files(Tabrel("Unfiled")), (std::vector<std::string>{"Budget.tbr", "Staff.tbr"}));
  EXPECT_EQ(test::Texts(*W().lstCategory), (std::vector<std::string>{"Travel", "Unfiled", "Work"}));
  EXPECT_TRUE(messages_->shown().empty());

  // Delete on "Unfiled" does nothing; Insert adds.
  W().lstCategory->setCurrentRow(1);
  Key(*W().lstCategory, Qt::Key_Delete);
  EXPECT_TRUE(stdfs::exists(Tabrel("Unfiled")));
  bool asked = false;
  test::WhenModal<frmNewCategory>([&](frmNewCategory& d) {
    asked = true;
    d.cmdOkCancel[1]->click();
  });
  Key(*W().lstCategory, Qt::Key_Insert);
  EXPECT_TRUE(asked);
}

TEST_F(WindowCommands, DeleteKeyAndTheDocumentDragOntoACategory) {
  QTreeWidget& list = *W().lstWorkbook;
  list.setCurrentItem(list.topLevelItem(1));  // Staff
  messages_->Answer(MsgResult::Yes);
  Key(list, Qt::Key_Delete);
  EXPECT_EQ(Files(business_), std::vector<std::string>{"Budget.tbr"});
  EXPECT_EQ(test::Texts(list), std::vector<std::string>{"Budget"});

  SaveFormCommands& commands = form_->Commands();
  const QRect travel = W().lstCategory->visualItemRect(W().lstCategory->item(1));
  // Dragged over "Travel" and dropped back on the file list: nothing moves,
  // and the source category is selected again, so the list's commands work
  // on the category whose files it shows.
  list.setCurrentItem(list.topLevelItem(0));
  ASSERT_TRUE(commands.BeginListDrag());
  commands.DragOverCategory(travel.center());
  ASSERT_EQ(W().lstCategory->currentRow(), 1);
  QMimeData documents;
  documents.setData(kDocumentDragMime, QByteArray());
  QDragEnterEvent enter(QPoint(10, 10), Qt::MoveAction, &documents, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list.viewport(), &enter);
  QDropEvent back(QPointF(10, 10), Qt::MoveAction, &documents, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list.viewport(), &back);
  EXPECT_FALSE(form_->listDragFlag);
  EXPECT_EQ(W().lstCategory->currentRow(), 0);
  EXPECT_TRUE(Files(Tabrel("Travel")).empty());
  EXPECT_EQ(test::Texts(list), std::vector<std::string>{"Budget"});

  // Dragging "Budget" onto "Travel" (row 1): the row under the cursor.
  list.setCurrentItem(list.topLevelItem(0));
  ASSERT_TRUE(commands.BeginListDrag());
  EXPECT_TRUE(form_->listDragFlag);
  commands.DragOverCategory(travel.center());
  EXPECT_EQ(W().lstCategory->currentRow(), 1);
  EXPECT_EQ(test::Texts(list),
            std::vector<std::string>{"Budget"});  // the list keeps the dragged rows
  commands.DropOnCategory(travel.center());
  EXPECT_FALSE(form_->listDragFlag);
  EXPECT_EQ(W().lstCategory->currentRow(), 0);  // back on the source category
  EXPECT_TRUE(Files(business_).empty());
  EXPECT_EQ(Files(Tabrel("Travel")), std::vector<std::string>{"Budget.tbr"});
  EXPECT_EQ(messages_->shown().size(), 1u);

  // Dropped on its own category: nothing moves. Below the last row: no row.
  W().lstCategory->setCurrentRow(1);
  list.setCurrentItem(list.topLevelItem(0));
  ASSERT_TRUE(commands.BeginListDrag());
  commands.DragOverCategory(QPoint(5, 10000));
  commands.DropOnCategory(QPoint(5, 10000));
  EXPECT_EQ(Files(Tabrel("Travel")), std::vector<std::string>{"Budget.tbr"});
  EXPECT_FALSE(form_->listDragFlag);
}

// A drag of documents shows the drag icon of the spreadsheet or the
// word-processor mode; presentations keep Qt's own.
TEST_F(WindowCommands, ADragOfDocumentsShowsTheIconOfItsFileMode) {
  const QImage sheet = W().picDragIcon[0]->pixmap().toImage();
  const QImage text = W().picDragIcon[1]->pixmap().toImage();
  ASSERT_FALSE(sheet.isNull());
  ASSERT_FALSE(text.isNull());
  EXPECT_NE(sheet, text);
  const QImage* expected[] = {&sheet, &text, nullptr};
  for (int mode = 0; mode < 3; ++mode) {
    app_->Session()->SetFileMode(static_cast<int16_t>(mode));
    QDrag drag(W().lstWorkbook);
    form_->Commands().SetDragIcon(drag);
    if (expected[mode]) {
      EXPECT_EQ(drag.pixmap().toImage(), *expected[mode]) << mode;
    } else {
      EXPECT_TRUE(drag.pixmap().isNull());
    }
  }
  EXPECT_TRUE(messages_->shown().empty());
  QLabel icons;
  QImage both(2 * kDragIconSize + 8, kDragIconSize, QImage::Format_ARGB32);
  both.fill(Qt::white);
  {
    QPainter painter(&both);
    painter.drawImage(0, 0, sheet);
    painter.drawImage(kDragIconSize + 8, 0, text);
  }
  icons.setPixmap(QPixmap::fromImage(both.scaled(both.size() * 4)));
  testing::SaveScreenshot(icons, "frmSave-drag-icons");
}

// The phone sync button: the engine gets the user, direction 0 and the
// window's sink, whose report shows in the status bar.
TEST_F(WindowCommands, PhoneSyncReportsInTheStatusBar) {
  class Engine : public Dispatch {
   public:
    Variant Invoke(std::string_view, CallKind, Args args) override {
      user = CStr(args[0]);
      direction = CLng(args[1]);
      CallByName(ObjectOf(args[2]), "Update", CallKind::Method, "Sent Deck.pdb", int16_t{100});
      return Variant();
    }
    std::string user;
    int32_t direction = -1;
  };
  const auto engine = MakeRef<Engine>();
  RegisterClass("Test.PhoneEngine", kPhoneSyncEngineClsid, [&] { return Ref<Dispatch>(engine); });
  W().cmdSync->click();
  UnregisterClass("Test.PhoneEngine");
  EXPECT_EQ(engine->user, "Anna");
  EXPECT_EQ(engine->direction, 0);
  EXPECT_EQ(W().StatusBar1->currentMessage().toStdString(), "Sent Deck.pdb  100% complete.");
  W().cmdSync->click();  // no engine any more
  ASSERT_EQ(messages_->shown().size(), 1u);
  EXPECT_EQ(messages_->shown()[0].text,
            "Error synchronizing for Nokia device.  \r\nActiveX component can't create object");
}

}  // namespace
}  // namespace brevora::frontend::forms
