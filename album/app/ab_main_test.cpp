// The album window as a user meets it: the controls, adding pictures through
// the file dialog and by dropping files, the preview's pixels, reordering,
// retitling and deleting, the layout after a resize, saving and reopening
// through a scripted chooser, errors in message boxes, and the About box.
#include "album/app/ab_main.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <fstream>
#include <memory>

#include "album/app/about_box.h"
#include "album/app/album_file_list.h"
#include "album/app/picture_box.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/file_dialog.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "slides/freeimage_bitmap.h"
#include "slides/pictures_test_support.h"
#include "testing/screenshot.h"
#include "testing/scripted_chooser.h"
#include "testing/temp_home.h"

namespace brevora::album {
namespace {

using services::Message;
using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;

// A picture whose top left quadrant (as shown) is green and the rest red.
void WriteQuadrants(const std::string& path, int width, int height) {
  slides::Bitmap b(FreeImage_Allocate(width, height, 24));
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(b.get(), y);  // row 0 is the bottom row
    for (int x = 0; x < width; ++x) {
      const bool green = x < width / 2 && y >= height / 2;
      line[x * 3 + FI_RGBA_RED] = green ? 0 : 255;
      line[x * 3 + FI_RGBA_GREEN] = green ? 255 : 0;
      line[x * 3 + FI_RGBA_BLUE] = 0;
    }
  }
  ASSERT_TRUE(slides::SavePng(b.get(), path));
}

QStringList Lines(const AB_Main& w) {
  QStringList lines;
  for (int i = 0; i < w.AB_FileListBox->count(); ++i) lines << w.AB_FileListBox->item(i)->text();
  return lines;
}

QStringList Numbers(const AB_Main& w) {
  QStringList numbers;
  for (int i = 0; i < w.combo_SlideNum->count(); ++i) numbers << w.combo_SlideNum->itemText(i);
  return numbers;
}

class AlbumWindow : public ::testing::Test {
 protected:
  AlbumWindow() {
    auto chooser = std::make_unique<testing::ScriptedChooser>();
    chooser_ = chooser.get();
    window_ = std::make_unique<AB_Main>(std::move(chooser));
    window_->show();
  }

  std::string Path(const std::string& name) const { return dir_ + name; }
  std::string Picture(const std::string& name, int width, int height) const {
    slides::testing::WriteTestPicture(Path(name), width, height, 24);
    return Path(name);
  }
  // Adds a picture through "Add Image" and the file dialog.
  void Add(const std::string& path) {
    files_->Answer(path);
    w().mnuAddImage->trigger();
  }
  void Drop(const std::vector<std::string>& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const std::string& p : paths) urls << QUrl::fromLocalFile(QString::fromStdString(p));
    mime.setUrls(urls);
    // As a file manager's drag arrives: it enters the list, then drops.
    QWidget* target = w().AB_FileListBox->viewport();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
  }
  void Click(int line) { w().AB_FileListBox->setCurrentRow(line); }

  AB_Main& w() { return *window_; }

  std::string dir_ = brevora::testing::MakeTempDir("window") + "/";
  std::shared_ptr<services::RecordingMessageBox> box_ =
      std::make_shared<services::RecordingMessageBox>();
  std::shared_ptr<services::ScriptedFileDialog> files_ =
      std::make_shared<services::ScriptedFileDialog>();
  services::ScopedService<services::MessageBox> boxScope_{services::InstallMessageBox, box_};
  services::ScopedService<services::FileDialog> filesScope_{services::InstallFileDialog, files_};
  testing::ScriptedChooser* chooser_ = nullptr;
  std::unique_ptr<AB_Main> window_;
};

TEST_F(AlbumWindow, OpensWithItsControls) {
  EXPECT_EQ(w().objectName(), "AB_Main");
  EXPECT_EQ(w().windowTitle(), "Albumet");
  const std::pair<QMenu*, const char*> menus[] = {{w().mnuFile, "&File"},
                                                  {w().mnuEdit, "&Edit"},
                                                  {w().mnuAlbum, "&Album"},
                                                  {w().mnuHelp, "&Help"}};
  for (const auto& [menu, text] : menus) EXPECT_EQ(menu->title(), text);
  const std::pair<QAction*, const char*> items[] = {{w().mnuNew, "&New"},
                                                    {w().mnuOpen, "&Open"},
                                                    {w().mnuSaveAs, "Save &As"},
                                                    {w().mnuAbout, "&About"},
                                                    {w().mnuDeleteImage, "&Delete Image"},
                                                    {w().mnuAddImage, "&Add Image"}};
  for (const auto& [item, text] : items) EXPECT_EQ(item->text(), text);
  for (const char* name : {"AB_FileListBox", "AB_PicPreview", "fraPictureInfo", "lblSlideNum",
                           "combo_SlideNum", "lblTitle", "txtBox_SlideTitle"}) {
    EXPECT_NE(w().findChild<QWidget*>(name), nullptr) << name;
  }
  EXPECT_EQ(w().fraPictureInfo->title(), "Picture Info");
  EXPECT_EQ(w().lblSlideNum->text(), "Slide #:");
  EXPECT_EQ(w().lblTitle->text(), "Title:");
  EXPECT_EQ(w().AB_FileListBox->count(), 0);
  EXPECT_TRUE(w().AB_FileListBox->acceptDrops());
  EXPECT_EQ(w().combo_SlideNum->count(), 0);
  EXPECT_TRUE(w().AB_PicPreview->picture().isNull());
}

TEST_F(AlbumWindow, AddImageTakesPicturesAndRefusesOtherFiles) {
  const std::string picture = Picture("harbour.png", 64, 48);
  { std::ofstream(Path("notes.txt")) << "Holiday notes\n"; }
  Add(picture);
  Add(Path("notes.txt"));
  files_->Answer(std::nullopt);  // cancelled: nothing said, nothing added
  w().mnuAddImage->trigger();

  EXPECT_EQ(Lines(w()), QStringList{"Slide #1"});
  ASSERT_EQ(files_->requests().size(), 3u);
  EXPECT_EQ(files_->requests()[0].title, "Select Image to Add...");
  EXPECT_EQ(files_->requests()[0].kind, services::FileDialogKind::Open);
  EXPECT_EQ(box_->shown(), (std::vector<Message>{{"File type is not supported for import.",
                                                  "Invalid File", MsgButtons::Ok, MsgIcon::None}}));
}

TEST_F(AlbumWindow, DroppingATextFileAndAPictureAddsOnlyThePicture) {
  { std::ofstream(Path("notes.txt")) << "Holiday notes\n"; }
  Drop({Path("notes.txt"), Picture("beach.png", 64, 48), Picture("dunes.png", 64, 48)});
  EXPECT_EQ(Lines(w()), (QStringList{"Slide #1", "Slide #2"}));
  ASSERT_EQ(w().album().Entries().size(), 2u);
  EXPECT_EQ(w().album().Entries()[0].fullPath, Path("beach.png"));
  EXPECT_TRUE(box_->shown().empty()) << "skipped without a message";
}

TEST_F(AlbumWindow, PreviewDrawsThePictureInTheTopLeftCorner) {
  WriteQuadrants(Path("small.png"), 40, 30);
  Add(Path("small.png"));
  Add(Picture("large.png", 1600, 1200));
  Click(0);

  // Smaller than the box: its own size, unscaled, from the inside's corner.
  PictureBox& box = *w().AB_PicPreview;
  EXPECT_EQ(box.picture().size(), QSize(40, 30));
  const QImage shot = box.grab().toImage();
  const QPoint corner = box.contentsRect().topLeft();
  EXPECT_EQ(shot.pixelColor(corner + QPoint(2, 2)), QColor(0, 255, 0));
  EXPECT_EQ(shot.pixelColor(corner + QPoint(37, 2)), QColor(255, 0, 0));
  EXPECT_EQ(shot.pixelColor(corner + QPoint(2, 27)), QColor(255, 0, 0));
  EXPECT_NE(shot.pixelColor(corner + QPoint(45, 35)), QColor(255, 0, 0)) << "nothing drawn past it";

  // Larger: exactly the box.
  Click(1);
  EXPECT_EQ(box.picture().size(), box.InsideSize());

  // A recognised but damaged picture: an empty preview.
  const std::vector<uint8_t> png = slides::testing::TestPicturePng(64, 64, 24);
  {
    std::ofstream(Path("damaged.png"), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), 40);
  }
  Add(Path("damaged.png"));
  Click(2);
  EXPECT_TRUE(box.picture().isNull());
  EXPECT_EQ(w().txtBox_SlideTitle->text(), "Slide #3");
}

TEST_F(AlbumWindow, ReorderRetitleAndDelete) {
  for (const char* name : {"a.png", "b.png", "c.png"}) Add(Picture(name, 32, 24));
  Click(2);
  EXPECT_EQ(Numbers(w()), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(w().combo_SlideNum->currentText(), "3");

  // Picking 1 for the third: it swaps with the first and stays the one edited.
  w().combo_SlideNum->activated(0);
  EXPECT_EQ(Lines(w()), (QStringList{"Slide #3", "Slide #2", "Slide #1"}));
  EXPECT_EQ(w().AB_FileListBox->currentRow(), 0);
  EXPECT_EQ(w().combo_SlideNum->currentText(), "1");
  QTest::keyClicks(w().txtBox_SlideTitle, "!");
  EXPECT_EQ(Lines(w()), (QStringList{"Slide #3!", "Slide #2", "Slide #1"}));
  EXPECT_EQ(w().album().Entries()[0].fullPath, Path("c.png"));

  // Delete asks first; No keeps it.
  box_->Answer(MsgResult::No);
  w().mnuDeleteImage->trigger();
  EXPECT_EQ(w().AB_FileListBox->count(), 3);
  EXPECT_EQ(box_->shown().back(), (Message{"Really delete current image?", "Delete Image",
                                           MsgButtons::YesNo, MsgIcon::Question}));
  // Yes on the first line: the new first line is shown and takes the edits.
  box_->Answer(MsgResult::Yes);
  w().mnuDeleteImage->trigger();
  EXPECT_EQ(Lines(w()), (QStringList{"Slide #2", "Slide #1"}));
  EXPECT_EQ(w().AB_FileListBox->currentRow(), 0);
  EXPECT_EQ(w().txtBox_SlideTitle->text(), "Slide #2");
  EXPECT_EQ(Numbers(w()), (QStringList{"1", "2"}));
  QTest::keyClicks(w().txtBox_SlideTitle, " dunes");
  EXPECT_EQ(Lines(w()), (QStringList{"Slide #2 dunes", "Slide #1"}));

  // New empties everything.
  w().mnuNew->trigger();
  EXPECT_EQ(w().AB_FileListBox->count(), 0);
  EXPECT_EQ(w().txtBox_SlideTitle->text(), "");
  EXPECT_EQ(w().combo_SlideNum->count(), 0);
  EXPECT_TRUE(w().AB_PicPreview->picture().isNull());
}

TEST_F(AlbumWindow, LayoutFollowsTheResizeRules) {
  for (const QSize size : {QSize(800, 600), QSize(640, 480), QSize(1024, 700)}) {
    w().resize(size);
    QApplication::processEvents();
    const ResizedLayout l = ResizeLayout(w().width() * 15, w().height() * 15, AB_Main::kDesign);
    EXPECT_EQ(w().AB_FileListBox->geometry(), QRect(l.listLeft / 15, 8, 220, l.listHeight / 15))
        << size.width();
    EXPECT_EQ(w().fraPictureInfo->geometry(), QRect(4, l.frameTop / 15, l.previewWidth / 15, 104));
    EXPECT_EQ(w().AB_PicPreview->geometry(),
              QRect(4, 8, l.previewWidth / 15, l.previewHeight / 15));
    // Everything inside the window, nothing overlapping.
    const QRect form = w().centralWidget()->rect();
    EXPECT_TRUE(form.contains(w().AB_FileListBox->geometry()));
    EXPECT_TRUE(form.contains(w().fraPictureInfo->geometry()));
    EXPECT_FALSE(w().AB_PicPreview->geometry().intersects(w().fraPictureInfo->geometry()));
    EXPECT_FALSE(w().AB_PicPreview->geometry().intersects(w().AB_FileListBox->geometry()));
    EXPECT_TRUE(w().fraPictureInfo->rect().contains(w().txtBox_SlideTitle->geometry()));
  }
  // The preview is drawn again at the new size.
  Add(Picture("large.png", 1600, 1200));
  Click(0);
  w().resize(900, 650);
  QApplication::processEvents();
  EXPECT_EQ(w().AB_PicPreview->picture().size(), w().AB_PicPreview->InsideSize());
}

TEST_F(AlbumWindow, SavesAndReopensThroughTheChooser) {
  Add(Picture("harbour.png", 640, 480));
  Add(Picture("beach.png", 320, 240));
  Click(1);
  QTest::keyClicks(w().txtBox_SlideTitle, " at noon");
  chooser_->Answer(Path("Holiday.pdb"));
  w().mnuSaveAs->trigger();
  EXPECT_TRUE(box_->shown().empty());

  w().mnuNew->trigger();
  chooser_->Answer(Path("Holiday.pdb"));
  w().mnuOpen->trigger();
  EXPECT_EQ(Lines(w()), (QStringList{"Slide #1", "Slide #2 at noon"}));
  EXPECT_EQ(w().AB_FileListBox->currentRow(), 0);
  EXPECT_EQ(w().txtBox_SlideTitle->text(), "Slide #1");
  EXPECT_EQ(w().AB_PicPreview->picture().size(), QSize(320, 240));

  // The copies of the opened pictures go with the window.
  const std::string copy = w().album().Entries()[0].fullPath;
  EXPECT_TRUE(fs::FileExists(copy));
  window_.reset();
  EXPECT_FALSE(fs::FolderExists(fs::FolderPart(copy)));
}

TEST_F(AlbumWindow, SaveErrorsAreToldAndTheAlbumKept) {
  const std::vector<uint8_t> png = slides::testing::TestPicturePng(64, 64, 24);
  {
    std::ofstream(Path("damaged.png"), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), 40);
  }
  Add(Path("damaged.png"));
  chooser_->Answer(Path("Holiday.pdb"));
  w().mnuSaveAs->trigger();
  ASSERT_EQ(box_->shown().size(), 1u);
  const Message told = box_->shown()[0];
  EXPECT_EQ(told.title, "Albumet");
  EXPECT_EQ(told.icon, MsgIcon::Critical);
  // The description, then what FreeImage said about the file.
  EXPECT_EQ(told.text.rfind("loadDIBFromPath: Error in loading DIB\r\n", 0), 0u) << told.text;
  EXPECT_GT(told.text.size(), std::string("loadDIBFromPath: Error in loading DIB\r\n").size());
  EXPECT_EQ(Lines(w()), QStringList{"Slide #1"});
}

TEST_F(AlbumWindow, AboutBoxShowsTitleAndVersion) {
  QString caption, title, version;
  QTimer::singleShot(0, [&] {
    auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
    ASSERT_NE(about, nullptr);
    caption = about->windowTitle();
    title = about->lblTitle->text();
    version = about->lblVersion->text();
    about->cmdOK->click();
  });
  w().mnuAbout->trigger();
  EXPECT_EQ(caption, "About Albumet");
  EXPECT_EQ(title, "Albumet");
  EXPECT_EQ(version, "Version 1.0.0");
}

TEST_F(AlbumWindow, ScreenshotWithThreeEntries) {
  Add(Picture("harbour.png", 640, 480));
  WriteQuadrants(Path("flag.png"), 200, 150);
  Add(Path("flag.png"));
  Add(Picture("dunes.png", 300, 200));
  Click(1);
  QTest::keyClicks(w().txtBox_SlideTitle, " - the flag on the pier");
  QApplication::processEvents();
  const std::string shot = brevora::testing::SaveScreenshot(w(), "albumet_three_entries");
  EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
}

}  // namespace
}  // namespace brevora::album
