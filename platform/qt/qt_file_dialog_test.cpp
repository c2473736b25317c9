#include "platform/qt/qt_file_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <functional>

#include "platform/fs/files.h"
#include "testing/temp_home.h"

namespace brevora::qt {
namespace {

TEST(QtFilters, VisualBasicPairsBecomeQtFilters) {
  using V = std::vector<std::string>;
  const struct {
    std::string vb;
    V qt;
  } cases[] = {
      {"", {}},
      {"Pictures (*.png)|*.png|All Files|*.*", {"Pictures (*.png) (*.png)", "All Files (*.*)"}},
      {"Images|*.png;*.jpg", {"Images (*.png *.jpg)"}},
      {"Odd|*.a|Left over", {"Odd (*.a)"}},
      {"Caf\xE9|*.caf", {"Caf\xE9 (*.caf)"}},
  };
  for (const auto& c : cases) EXPECT_EQ(QtFilters(c.vb), c.qt) << c.vb;
}

struct Seen {
  QString title;
  QStringList filters;
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
};

// Shows the dialog and, once it is up, notes what it shows and does `act`.
std::optional<std::string> ShowAndAct(const services::FileRequest& request, Seen& seen,
                                      const std::function<void(QFileDialog&)>& act) {
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "the dialog is not the modal window";
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->reject();  // never hang
      }
      return;
    }
    seen = {dialog->windowTitle(), dialog->nameFilters(), dialog->fileMode()};
    act(*dialog);
  });
  return QtFileDialog().Show(request);
}

TEST(QtFileDialog, OpenAnswersWithAnExistingFileOrNothing) {
  const std::string folder = testing::MakeTempDir("pictures");
  const std::string file = folder + "/holiday.png";
  fs::AtomicWrite(file, std::string_view("png"));
  Seen seen;
  const auto chosen =
      ShowAndAct({services::FileDialogKind::Open, "Add Pictures", file, "Pictures|*.png"}, seen,
                 [&](QFileDialog& d) {
                   d.selectFile(QString::fromStdString(file));
                   static_cast<QDialog&>(d).accept();
                 });
  EXPECT_EQ(chosen, file);
  EXPECT_EQ(seen.title, QStringLiteral("Add Pictures"));
  EXPECT_EQ(seen.filters, QStringList{QStringLiteral("Pictures (*.png)")});
  EXPECT_EQ(seen.mode, QFileDialog::ExistingFile);
  const auto cancelled = ShowAndAct({services::FileDialogKind::Open, "", file, ""}, seen,
                                    [](QFileDialog& d) { d.reject(); });
  EXPECT_EQ(cancelled, std::nullopt);
}

TEST(QtFileDialog, SaveAddsTheFiltersExtension) {
  const std::string folder = testing::MakeTempDir("albums");
  Seen seen;
  const auto chosen =
      ShowAndAct({services::FileDialogKind::Save, "Save Album", folder + "/Trip", "Albums|*.pdb"},
                 seen, [&](QFileDialog& d) {
                   d.selectFile(QString::fromStdString(folder + "/Trip"));
                   static_cast<QDialog&>(d).accept();
                 });
  EXPECT_EQ(chosen, folder + "/Trip.pdb");
  EXPECT_EQ(seen.mode, QFileDialog::AnyFile);
}

}  // namespace
}  // namespace brevora::qt
