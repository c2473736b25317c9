#include "album/app/ab_main.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QResizeEvent>
#include <QSignalBlocker>

#include "album/album_presentation.h"
#include "album/app/about_box.h"
#include "album/app/album_file_list.h"
#include "album/app/dib_qimage.h"
#include "album/app/picture_box.h"
#include "album/image_pipeline.h"
#include "platform/error/error.h"
#include "platform/qt/named.h"
#include "platform/services/file_dialog.h"
#include "platform/services/message_box.h"
#include "platform/text/codepage.h"

namespace brevora::album {
namespace {

using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;

// The window's design size, and the frame's controls, in twips.
constexpr int32_t kFormWidth = 9600;
constexpr int32_t kFormHeight = 7200;
constexpr int32_t kMinFormWidth = 8400;
constexpr int32_t kMinFormHeight = 6000;
constexpr int32_t kPreviewLeft = 60;
struct TwipsRect {
  int32_t left, top, width, height;
};
constexpr TwipsRect kSlideNumLabel{120, 405, 900, 285};
constexpr TwipsRect kSlideNumCombo{1080, 360, 1200, 345};
constexpr TwipsRect kTitleLabel{120, 945, 900, 285};
constexpr TwipsRect kTitleBox{1080, 900, 3600, 345};

int Pixels(int32_t twips) { return twips / kTwipsPerPixel; }
int32_t Twips(int pixels) { return pixels * kTwipsPerPixel; }
void Place(QWidget* w, int32_t left, int32_t top, int32_t width, int32_t height) {
  w->setGeometry(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}
void Place(QWidget* w, const TwipsRect& r) { Place(w, r.left, r.top, r.width, r.height); }

QString ToQt(const std::string& codePage) {
  return QString::fromStdString(text::CpToUtf8(codePage));
}
std::string CodePage(const QString& text) { return text::Utf8ToCp(text.toStdString()); }

using qt::Named;

QAction* MenuItem(QMenu* menu, const char* name, const char* text) {
  QAction* action = menu->addAction(QString::fromLatin1(text));
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

AB_Main::AB_Main(std::unique_ptr<PresentationChooser> chooser, QWidget* parent)
    : QMainWindow(parent), chooser_(std::move(chooser)) {
  setObjectName(QStringLiteral("AB_Main"));
  setWindowTitle(QString::fromLatin1(kProgramTitle));

  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuNew = MenuItem(mnuFile, "mnuNew", "&New");
  mnuOpen = MenuItem(mnuFile, "mnuOpen", "&Open");
  mnuSaveAs = MenuItem(mnuFile, "mnuSaveAs", "Save &As");
  mnuEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
  mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
  mnuDeleteImage = MenuItem(mnuEdit, "mnuDeleteImage", "&Delete Image");
  mnuAlbum = menuBar()->addMenu(QStringLiteral("&Album"));
  mnuAlbum->setObjectName(QStringLiteral("mnuAlbum"));
  mnuAddImage = MenuItem(mnuAlbum, "mnuAddImage", "&Add Image");
  mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  mnuAbout = MenuItem(mnuHelp, "mnuAbout", "&About");

  auto* form = new QWidget;
  form->setObjectName(QStringLiteral("form"));
  setCentralWidget(form);
  AB_FileListBox = Named<AlbumFileList>("AB_FileListBox", form);
  AB_PicPreview = Named<PictureBox>("AB_PicPreview", form);
  fraPictureInfo = Named<QGroupBox>("fraPictureInfo", QStringLiteral("Picture Info"), form);
  lblSlideNum = Named<QLabel>("lblSlideNum", QStringLiteral("Slide #:"), fraPictureInfo);
  combo_SlideNum = Named<QComboBox>("combo_SlideNum", fraPictureInfo);
  lblTitle = Named<QLabel>("lblTitle", QStringLiteral("Title:"), fraPictureInfo);
  txtBox_SlideTitle = Named<QLineEdit>("txtBox_SlideTitle", fraPictureInfo);
  lblSlideNum->setBuddy(combo_SlideNum);
  lblTitle->setBuddy(txtBox_SlideTitle);
  Place(lblSlideNum, kSlideNumLabel);
  Place(combo_SlideNum, kSlideNumCombo);
  Place(lblTitle, kTitleLabel);
  Place(txtBox_SlideTitle, kTitleBox);

  connect(mnuNew, &QAction::triggered, this, [this] { mnuNew_Click(); });
  connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
  connect(mnuSaveAs, &QAction::triggered, this, [this] { mnuSaveAs_Click(); });
  connect(mnuDeleteImage, &QAction::triggered, this, [this] { mnuDeleteImage_Click(); });
  connect(mnuAddImage, &QAction::triggered, this, [this] { mnuAddImage_Click(); });
  connect(mnuAbout, &QAction::triggered, this, [this] { mnuAbout_Click(); });
  connect(AB_FileListBox, &QListWidget::currentRowChanged, this,
          [this](int line) { AB_FileListBox_Click(line); });
  connect(AB_FileListBox, &AlbumFileList::filesDropped, this,
          [this](const std::vector<std::string>& paths) { AB_FileListBox_OLEDragDrop(paths); });
  connect(combo_SlideNum, &QComboBox::activated, this,
          [this](int index) { combo_SlideNum_Click(index); });
  connect(txtBox_SlideTitle, &QLineEdit::textEdited, this,
          [this](const QString& text) { txtBox_SlideTitle_Change(text); });

  setMinimumSize(Pixels(kMinFormWidth), Pixels(kMinFormHeight));
  resize(Pixels(kFormWidth), Pixels(kFormHeight));
  ClearEditor();
  Form_Resize();
}

// The picture library shuts down with library_, the opened pictures' folder
// goes with openedPictures_.
AB_Main::~AB_Main() = default;

void AB_Main::Guarded(const std::function<void()>& body) {
  try {
    body();
  } catch (...) {
    ShowError(CurrentError());
  }
}

void AB_Main::ShowError(const AutomationError& error) {
  std::string text = error.description();
  const std::string detail = PictureMessage();
  if (error.number() == kPictureError && !detail.empty() &&
      text.find(detail) == std::string::npos) {
    text += "\r\n" + detail;
  }
  services::ShowCritical(text, kProgramTitle);
}

void AB_Main::mnuNew_Click() {
  album_.ClearAlbum();
  ClearEditor();
}

void AB_Main::mnuOpen_Click() {
  Guarded([&] {
    ClearPictureMessage();
    if (!OpenAlbum(album_, *chooser_, openedPictures_)) return;
    RebuildList();
    ShowCurrent();
  });
}

void AB_Main::mnuSaveAs_Click() {
  Guarded([&] {
    ClearPictureMessage();
    SaveAlbumAs(album_, *chooser_, &shown_);
  });
}

void AB_Main::mnuDeleteImage_Click() {
  if (!album_.CurrentNode()) return;
  const MsgResult answer = services::ShowMessage(
      {"Really delete current image?", "Delete Image", MsgButtons::YesNo, MsgIcon::Question});
  if (answer != MsgResult::Yes) return;
  album_.DeleteCurrentEntry();
  RebuildList();
  ShowCurrent();
}

void AB_Main::mnuAddImage_Click() {
  Guarded([&] {
    const std::optional<std::string> path = services::ShowFileDialog(
        {services::FileDialogKind::Open, "Select Image to Add...", "", ""});
    if (!path) return;
    if (!IsSupportedImageFile(*path)) {
      services::ShowMessage({"File type is not supported for import.", "Invalid File",
                             MsgButtons::Ok, MsgIcon::None});
      return;
    }
    AddImage(*path);
  });
}

void AB_Main::mnuAbout_Click() {
  frmAbout about(this);
  about.exec();
}

void AB_Main::AB_FileListBox_Click(int line) {
  if (filling_) return;
  album_.Select(line);
  ShowCurrent();
}

void AB_Main::AB_FileListBox_OLEDragDrop(const std::vector<std::string>& paths) {
  Guarded([&] {
    for (const std::string& path : paths) {
      if (IsSupportedImageFile(path)) AddImage(path);
    }
  });
}

void AB_Main::combo_SlideNum_Click(int index) {
  if (filling_ || !album_.CurrentNode()) return;
  album_.MoveCurrentTo(index + 1);
  RebuildList();
  FillSlideNumberCombo();
}

void AB_Main::txtBox_SlideTitle_Change(const QString& text) {
  if (filling_ || !album_.CurrentNode()) return;
  album_.SetCurrentTitle(CodePage(text));
  if (QListWidgetItem* item = AB_FileListBox->item(album_.Current())) item->setText(text);
}

void AB_Main::AddImage(const std::string& path) {
  const SlideNode& node = album_.AddImage(path);
  auto* item = new QListWidgetItem(ToQt(node.title));
  item->setData(Qt::UserRole, node.uniqueId);
  {
    const QSignalBlocker block(AB_FileListBox);
    AB_FileListBox->addItem(item);
  }
  // The drop-down offers the new number too.
  if (album_.CurrentNode()) FillSlideNumberCombo();
}

void AB_Main::RebuildList() {
  const QSignalBlocker block(AB_FileListBox);
  AB_FileListBox->clear();
  for (const SlideNode& node : album_.Entries()) {
    auto* item = new QListWidgetItem(ToQt(node.title));
    item->setData(Qt::UserRole, node.uniqueId);
    AB_FileListBox->addItem(item);
  }
  AB_FileListBox->setCurrentRow(album_.Current());
}

void AB_Main::ShowCurrent() {
  if (!album_.CurrentNode()) {
    ClearPictureInfo();
    return;
  }
  ShowPreview();
  FillSlideNumberCombo();
}

void AB_Main::ShowPreview() {
  AB_PicPreview->Clear();
  const SlideNode* node = album_.CurrentNode();
  if (!node || !IsSupportedImageFile(node->fullPath)) {
    shown_.Clear();
  } else {
    // The picture held is kept when it is this one, unchanged.
    try {
      shown_.Decode(node->fullPath);
    } catch (...) {
      shown_.Clear();  // a picture that fails to load shows no preview
    }
  }
  Form_Resize();
}

void AB_Main::FillSlideNumberCombo() {
  const SlideNode* node = album_.CurrentNode();
  if (!node) return;
  filling_ = true;
  txtBox_SlideTitle->setText(ToQt(node->title));
  combo_SlideNum->clear();
  for (int32_t n = 1; n <= album_.Count(); ++n) combo_SlideNum->addItem(QString::number(n));
  combo_SlideNum->setCurrentIndex(node->slideNumber - 1);
  filling_ = false;
}

void AB_Main::ClearEditor() {
  album_.Select(-1);
  {
    const QSignalBlocker block(AB_FileListBox);
    AB_FileListBox->clear();
  }
  ClearPictureInfo();
}

void AB_Main::ClearPictureInfo() {
  filling_ = true;
  txtBox_SlideTitle->clear();
  combo_SlideNum->clear();
  shown_.Clear();
  AB_PicPreview->Clear();
  filling_ = false;
}

void AB_Main::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void AB_Main::Form_Resize() {
  const ResizedLayout l = ResizeLayout(Twips(width()), Twips(height()), kDesign);
  Place(AB_FileListBox, l.listLeft, kDesign.listTop, kDesign.listWidth, l.listHeight);
  Place(fraPictureInfo, kPreviewLeft, l.frameTop, l.previewWidth, kDesign.frameHeight);
  Place(AB_PicPreview, kPreviewLeft, kDesign.previewTop, l.previewWidth, l.previewHeight);

  AB_PicPreview->Clear();
  const DibSection* picture = shown_.Held();
  if (!album_.CurrentNode() || !picture) return;
  const QSize box = AB_PicPreview->InsideSize();
  const std::optional<DibSection> shown = FitPreview(*picture, box.width(), box.height());
  QImage image;
  if (shown && RenderDib(*shown, image)) AB_PicPreview->SetPicture(std::move(image));
}

}  // namespace brevora::album
