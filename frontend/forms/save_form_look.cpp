// SaveForm: the window's layout on resize, its repaint, the banner strip and
// the download of its picture, the colour themes, and the menu commands that
// open web pages and the about box, and enable the File menu's entries.
#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QToolBar>
#include <QTreeWidget>

#include "frontend/forms/form_controls.h"
#include "frontend/forms/frm_save.h"
#include "frontend/forms/window_drawing.h"
#include "frontend/internet.h"
#include "frontend/tabrel_pc.h"
#include "frontend/web_links.h"
#include "frontend/window_placement.h"
#include "frontend/window_settings.h"
#include "frontend/window_theme.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/fs/paths.h"

namespace brevora::frontend::forms {
namespace {

// The downloaded banner picture's file.
std::string BannerFile() {
  return fs::JoinPath(fs::JoinPath(fs::StateDir(), kBannerCacheFolder), kBannerFileName);
}

// The window's events of this topic: its resize, the painting of the
// decorated controls, and clicks on the banner and the logo. Painting runs the
// drawing routines before the control paints its children.
class LookEvents : public QObject {
 public:
  LookEvents(SaveForm& form, frmSave& window) : QObject(&window), form_(form), window_(window) {
    for (QObject* watched : std::initializer_list<QObject*>{
             &window_, window_.picOutlook, window_.picToolbar, window_.centralWidget(),
             window_.Picture2, window_.picLogo}) {
      watched->installEventFilter(this);
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Resize:
        if (watched == &window_) HandleFormEvent(form_, [this] { form_.Form_Resize(); });
        break;
      case QEvent::Paint:
        return Paint(watched);
      case QEvent::MouseButtonRelease:
        if (watched == window_.Picture2) HandleFormEvent(form_, [this] { form_.Picture2_Click(); });
        if (watched == window_.picLogo) HandleFormEvent(form_, [this] { form_.picLogo_Click(); });
        break;
      default:
        break;
    }
    return false;
  }

 private:
  bool Paint(QObject* watched) {
    try {
      if (watched == window_.picOutlook) {
        QPainter painter(window_.picOutlook);
        DrawOutlookBar(painter, window_.picOutlook->size(), form_.iTheme);
      } else if (watched == window_.picToolbar) {
        QPainter painter(window_.picToolbar);
        DrawToolbar(painter, window_.picToolbar->size(), window_.width(), window_.Toolbar->y(),
                    window_.Toolbar->height(), SystemEdgeColours());
      } else if (watched == window_.centralWidget()) {
        QWidget* body = window_.centralWidget();
        const QPoint category = window_.lstCategory->mapTo(body, QPoint(0, 0));
        const QPoint files = window_.lstWorkbook->mapTo(body, QPoint(0, 0));
        QPainter painter(body);
        DrawCategoryFrame(painter,
                          {category.x(), window_.lstCategory->width(), category.y(), files.y()},
                          SystemEdgeColours());
      } else if (watched == window_.Picture2) {
        QImage strip(window_.Picture2->size(), QImage::Format_RGB32);
        DrawBannerStrip(strip, form_.picDownload, form_.iTheme);
        QPainter painter(window_.Picture2);
        painter.drawImage(0, 0, strip);
        return true;  // the strip is the whole banner
      }
    } catch (...) {
      // A failed decoration leaves the control as Qt paints it.
    }
    return false;
  }

  SaveForm& form_;
  frmSave& window_;
};

void Colour(QWidget& control, const QColor& background, const QColor& text) {
  QPalette palette = control.palette();
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::ButtonText, text);
  control.setPalette(palette);
  control.setAutoFillBackground(true);
}

}  // namespace

void SaveForm::ConnectLook(frmSave& w) {
  new LookEvents(*this, w);
  // The smallest window the layout is made for; a smaller one is set back.
  w.setMinimumSize(static_cast<int>(kMinimumWidthTwips / kTwipsPerPixel),
                   static_cast<int>(kMinimumHeightTwips / kTwipsPerPixel));
  QObject::connect(w.mnuView, &QMenu::aboutToShow,
                   [this] { HandleFormEvent(*this, [this] { mnuView_Click(); }); });
  QObject::connect(w.mnuFile, &QMenu::aboutToShow,
                   [this] { HandleFormEvent(*this, [this] { mnuFile_Click(); }); });
  QObject::connect(w.mnuEnableBanner, &QAction::triggered,
                   [this] { HandleFormEvent(*this, [this] { mnuEnableBanner_Click(); }); });
  for (int i = 0; i < kThemeCount; ++i) {
    QObject::connect(w.mnuTheme[static_cast<size_t>(i)], &QAction::triggered,
                     [this, i] { HandleFormEvent(*this, [this, i] { mnuTheme_Click(i); }); });
  }
  QObject::connect(w.mnuAbout, &QAction::triggered,
                   [this] { HandleFormEvent(*this, [this] { mnuAbout_Click(); }); });
  const std::pair<QAction*, const char*> pages[] = {
      {w.mnuSupport, kSupportPage},     {w.mnuUpdate, kUpgradePage},
      {w.mnuWeb, kMakerHome},           {w.mnuDLWorkbooks, kFreeWorkbooksPage},
      {w.mnuGutenberg, kGutenbergHome}, {w.mnuMemoware, kMemowareHome}};
  for (const auto& [item, page] : pages) {
    QObject::connect(item, &QAction::triggered, [this, page = page] {
      HandleFormEvent(*this, [this, page] { OpenWebPage(page); });
    });
  }
  QObject::connect(w.mnuFileLinked, &QAction::triggered,
                   [this] { HandleFormEvent(*this, [this] { mnuFileLinked_Click(); }); });
  QObject::connect(w.cmdOptions, &QPushButton::clicked,
                   [this] { HandleFormEvent(*this, [this] { cmdOptions_Click(); }); });
}

void SaveForm::InitializeLook() {
  try {
    oInternet = CreateObject(kInternetProgId);
  } catch (...) {
    oInternet = nullptr;  // no web pages and no banner picture
  }
  iTheme = GetTheme();
}

void SaveForm::FinishLook() {
  DrawBanner();
  if (IsBannerEnabled()) LoadAdGraphic();
}

void SaveForm::Form_Resize() {
  if (initializing_ || !IsLoaded()) return;
  frmSave& w = window();
  if (w.isMinimized()) return;
  const WindowLayout::Step step =
      windowLayout.Resize({static_cast<int32_t>(w.width() * kTwipsPerPixel),
                           static_cast<int32_t>(w.height() * kTwipsPerPixel)});
  if (step.enlargeTo) {
    w.resize(step.enlargeTo->width / kTwipsPerPixel, step.enlargeTo->height / kTwipsPerPixel);
    return;
  }
  // Controls placed by hand carry their anchoring in "Tag"; those in the
  // window's layouts follow it through their layouts.
  for (QWidget* control : w.findChildren<QWidget*>()) {
    const QVariant tag = control->property("Tag");
    if (!tag.isValid()) continue;
    const QRect g = control->geometry();
    const ControlRect moved = Anchor(tag.toString().toStdString(),
                                     {g.x() * kTwipsPerPixel, g.y() * kTwipsPerPixel,
                                      g.width() * kTwipsPerPixel, g.height() * kTwipsPerPixel},
                                     step.dH, step.dW);
    control->setGeometry(moved.left / kTwipsPerPixel, moved.top / kTwipsPerPixel,
                         moved.width / kTwipsPerPixel, moved.height / kTwipsPerPixel);
  }
  Form_Paint();
}

void SaveForm::Form_Paint() {
  DrawToolbar();
  DrawOutlookBar();
  DrawCategoryFrame();
  DrawBanner();
}

bool SaveForm::IsBannerEnabled() const { return frontend::IsBannerEnabled(standAlone_); }

int16_t SaveForm::GetTheme() const { return frontend::GetTheme(standAlone_); }

void SaveForm::SetTheme(int16_t theme) { frontend::SetTheme(theme); }

void SaveForm::LoadAdGraphic() {
  try {
    if (!oInternet) return;
    const std::string address = BannerGraphicAddress();
    // A picture of this machine (a file: address) is fetched without a
    // connection; any other only when the internet can be reached.
    if (!IsFileAddress(address)) {
      const Variant online = CallByName(oInternet, "InternetOnline", CallKind::Method);
      if (online.IsNull() || !CBool(online)) return;
    }
    CallByName(oInternet, "GetWebFile", CallKind::Method, Ref<Dispatch>(this), BannerFile(),
               address, std::string(kProductWebServer));
  } catch (...) {
    // No picture: the banner keeps its colour alone.
  }
}

void SaveForm::DownloadComplete(const std::string& localPath, bool success) {
  // A download that ends after the window closed is dropped: the form stays
  // unloaded and its window is not made again.
  if (!IsLoaded() || !success) return;
  const QImage picture(QString::fromStdString(fs::NativePath(localPath)));
  if (picture.isNull()) return;
  picDownload = picture;
  DrawBanner();
}

void SaveForm::mnuView_Click() { window().mnuEnableBanner->setChecked(IsBannerEnabled()); }

void SaveForm::mnuEnableBanner_Click() {
  // The menu item's check mark was inverted by the click itself.
  frmSave& w = window();
  frontend::SetBannerEnabled(w.mnuEnableBanner->isChecked());
  w.Picture2->clear();
  DrawBanner();
}

void SaveForm::mnuTheme_Click(int index) {
  iTheme = static_cast<int16_t>(index);
  SetTheme(iTheme);
  Form_Paint();
}

void SaveForm::mnuFile_Click() {
  frmSave& w = window();
  w.mnuFileLinked->setEnabled(w.btnLink->isEnabled());
  w.mnuFileAdd->setEnabled(w.btnAdd->isEnabled());
  w.mnuFileDelete->setEnabled(w.btnDelete->isEnabled());
}

void SaveForm::mnuAbout_Click() {
  if (!owner_) RaiseRuntimeError(91);
  std::string macroVersion;
  owner_->DoAbout(macroVersion);
}

void SaveForm::OpenWebPage(const std::string& address) {
  if (oInternet) CallByName(oInternet, "OpenWebBrowser", CallKind::Method, address);
}

void SaveForm::Picture2_Click() {
  if (standAlone_) OpenWebPage(BannerLinkAddress());
}

void SaveForm::picLogo_Click() { OpenWebPage(kProductHome); }

void SaveForm::DrawBanner() {
  if (!standAlone_ || !IsLoaded()) return;
  frmSave& w = window();
  const bool enabled = IsBannerEnabled();
  w.Picture2->setVisible(enabled);
  if (enabled) {
    const QColor base = ColourOf(ThemeBaseColour(iTheme));
    const QColor text = ColourOf(BannerTextColour(iTheme));
    Colour(*w.lblName, base, text);
    Colour(*w.cbxOpenAsTemplate, base, text);
    w.Picture2->update();
  } else {
    for (QWidget* control :
         {static_cast<QWidget*>(w.lblName), static_cast<QWidget*>(w.cbxOpenAsTemplate)}) {
      control->setPalette(QPalette());
      control->setAutoFillBackground(false);
    }
  }
}

void SaveForm::DrawOutlookBar() {
  if (!IsLoaded()) return;
  frmSave& w = window();
  // The file-mode buttons' captions stand on the bar's colour: in the text
  // colour of the theme, as on the banner. A button that shows the style's
  // own light face (pressed, or under the mouse) keeps the style's caption
  // colour for that face.
  const QString text = ColourOf(BannerTextColour(iTheme)).name();
  w.Toolbar1->setStyleSheet(
      QStringLiteral("QToolButton { color: %1; } "
                     "QToolButton:checked, QToolButton:hover, QToolButton:pressed "
                     "{ color: palette(button-text); }")
          .arg(text));
  w.picOutlook->update();
}

void SaveForm::DrawToolbar() {
  if (IsLoaded()) window().picToolbar->update();
}

void SaveForm::DrawCategoryFrame() {
  if (IsLoaded()) window().centralWidget()->update();
}

bool SaveForm::InvokeLookMember(const std::string& key, CallKind kind, Args args, Variant& result) {
  if (kind != CallKind::Method && kind != CallKind::Get) return false;
  const std::pair<const char*, void (SaveForm::*)()> commands[] = {
      {"loadadgraphic", &SaveForm::LoadAdGraphic},
      {"drawbanner", &SaveForm::DrawBanner},
      {"drawcategoryframe", &SaveForm::DrawCategoryFrame},
      {"drawoutlookbar", &SaveForm::DrawOutlookBar},
      {"drawtoolbar", &SaveForm::DrawToolbar},
      {"editfileproperties", &SaveForm::EditFileProperties}};
  for (const auto& [name, command] : commands) {
    if (key == name && args.empty()) {
      (this->*command)();
      result = Variant();
      return true;
    }
  }
  if (key == "downloadcomplete" && args.size() == 3) {
    DownloadComplete(CStr(args[1]), CBool(args[2]));
    result = Variant();
    return true;
  }
  if (key == "longtorgb" && args.size() == 4) {
    const Rgb rgb = LongToRGB(CLng(args[0]));
    args[1] = Variant(rgb.red);
    args[2] = Variant(rgb.green);
    args[3] = Variant(rgb.blue);
    result = Variant();
    return true;
  }
  if (key == "isbannerenabled" && args.empty()) {
    result = Variant(IsBannerEnabled());
    return true;
  }
  if (key == "gettheme" && args.empty()) {
    result = Variant(GetTheme());
    return true;
  }
  if (key == "settheme" && args.size() == 1) {
    SetTheme(CInt(args[0]));
    result = Variant();
    return true;
  }
  return false;
}

}  // namespace brevora::frontend::forms
