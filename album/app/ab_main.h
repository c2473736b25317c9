#pragma once
// AB_Main: the album tool's one window. The entry list on the right (which also
// takes dropped files), the preview of the entry being edited on the left, and
// under it the "Picture Info" frame with the entry's slide number and title;
// menus for a new album, opening and saving it as a presentation, adding and
// deleting pictures, and the About box.
//
// The album itself (Album), its pictures (image_pipeline.h) and its storage as
// a presentation (album_presentation.h) are Qt-free; this class holds the
// widgets, keeps them showing the album, and tells the user of failures
// through the message-box service. The controls keep their names as members
// and objectName; the event handlers keep theirs. The picture library runs for
// the window's life; the copies of an opened presentation's pictures live in a
// private folder that goes with the window.
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "album/album.h"
#include "album/album_layout.h"
#include "album/decoded_picture.h"
#include "album/picture_messages.h"
#include "album/presentation_chooser.h"
#include "platform/fs/temp_folder.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;

namespace brevora {
class AutomationError;
}

namespace brevora::album {

class AlbumFileList;
class PictureBox;

class AB_Main : public QMainWindow {
  Q_OBJECT

 public:
  // `chooser`: where Save As and Open ask for the presentation file; by default
  // the application object's windows.
  explicit AB_Main(
      std::unique_ptr<PresentationChooser> chooser = std::make_unique<ApplicationChooser>(),
      QWidget* parent = nullptr);
  ~AB_Main() override;

  const Album& album() const { return album_; }

  QMenu* mnuFile;
  QAction* mnuNew;
  QAction* mnuOpen;
  QAction* mnuSaveAs;
  QMenu* mnuEdit;
  QAction* mnuDeleteImage;
  QMenu* mnuAlbum;
  QAction* mnuAddImage;
  QMenu* mnuHelp;
  QAction* mnuAbout;
  AlbumFileList* AB_FileListBox;
  PictureBox* AB_PicPreview;
  QGroupBox* fraPictureInfo;
  QLabel* lblSlideNum;
  QComboBox* combo_SlideNum;
  QLabel* lblTitle;
  QLineEdit* txtBox_SlideTitle;

  // The layout the resize rules keep (twips).
  static constexpr DesignedLayout kDesign{};

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void mnuNew_Click();
  void mnuOpen_Click();
  void mnuSaveAs_Click();
  void mnuDeleteImage_Click();
  void mnuAddImage_Click();
  void mnuAbout_Click();
  void AB_FileListBox_Click(int line);
  void AB_FileListBox_OLEDragDrop(const std::vector<std::string>& paths);
  void combo_SlideNum_Click(int index);
  void txtBox_SlideTitle_Change(const QString& text);
  void Form_Resize();

  void AddImage(const std::string& path);
  // Empties the list and fills it again from the album, selecting the current
  // entry's line.
  void RebuildList();
  // The editor shows the current entry (preview, number, title),
  // or is cleared when there is none.
  void ShowCurrent();
  void ShowPreview();
  void FillSlideNumberCombo();
  // Nothing current: the list, title box, drop-down and preview emptied.
  void ClearEditor();
  // The title box, drop-down and preview emptied.
  void ClearPictureInfo();
  // Runs a handler's body; an error reaches the user in a message box.
  void Guarded(const std::function<void()>& body);
  void ShowError(const AutomationError& error);

  PictureLibrary library_;
  std::unique_ptr<PresentationChooser> chooser_;
  Album album_;
  std::unique_ptr<fs::TempFolder> openedPictures_;
  // The current entry's picture, decoded for the preview: drawn again from
  // here when the window is resized, and taken by Save As for that entry.
  DecodedPicture shown_;
  bool filling_ = false;  // the controls are being filled by the window itself
};

}  // namespace brevora::album
