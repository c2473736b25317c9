// frmSave: the controls of the window and where they sit. Sizes follow the
// text (Qt layouts), so captions are never cut whatever the font.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "frontend/forms/form_controls.h"
#include "frontend/forms/frm_save.h"
#include "frontend/forms/name_character_filter.h"
#include "frontend/forms/window_drawing.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {
namespace {

QAction* Action(QObject* parent, const char* name, const QString& caption) {
  auto* action = new QAction(caption, parent);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

QAction* MenuItem(QMenu* menu, const char* name, const QString& caption) {
  QAction* action = Action(menu, name, caption);
  menu->addAction(action);
  return action;
}

}  // namespace

frmSave::frmSave(QWidget* parent) : QMainWindow(parent) {
  // Made in this order, which is also the order of the keyboard focus.
  BuildMenus();
  BuildCommandToolBar();
  BuildPictures();
  BuildFileModeBar();
  QVBoxLayout* work = BuildLists();

  auto* body = new QHBoxLayout;
  body->setContentsMargins(0, 0, 0, 0);
  body->addWidget(picOutlook);
  body->addLayout(work, 1);

  auto* central = new QWidget;
  central->setObjectName(QStringLiteral("frmSaveBody"));
  auto* page = new QVBoxLayout(central);
  page->setContentsMargins(6, 0, 6, 6);
  page->addWidget(picToolbar);
  page->addLayout(body, 1);
  setCentralWidget(central);

  StatusBar1 = statusBar();
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  resize(760, 480);
}

void frmSave::BuildMenus() {
  QMenuBar* bar = menuBar();
  mnuFile = bar->addMenu(QStringLiteral("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuOpen = MenuItem(mnuFile, "mnuOpen", QStringLiteral("&Open"));
  mnuFile->addSeparator();
  const char* categoryNames[] = {"mnuCategory_0", "mnuCategory_1", "mnuCategory_2"};
  const QString categoryCaptions[] = {QStringLiteral("Add &Category..."),
                                      QStringLiteral("Re&name Category..."),
                                      QStringLiteral("De&lete Category")};
  for (int i = 0; i < 3; ++i)
    mnuCategory[i] = MenuItem(mnuFile, categoryNames[i], categoryCaptions[i]);
  mnuFile->addSeparator();
  mnuFileAdd = MenuItem(mnuFile, "mnuFileAdd", QStringLiteral("&Add File..."));
  mnuFileDelete = MenuItem(mnuFile, "mnuFileDelete", QStringLiteral("&Delete File"));
  mnuFileLinked = MenuItem(mnuFile, "mnuFileLinked", QStringLiteral("&Linked File..."));
  mnuFile->addSeparator();
  mnuExit = MenuItem(mnuFile, "mnuExit", QStringLiteral("E&xit"));

  mnuEdit = bar->addMenu(QStringLiteral("&Edit"));
  mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
  mnuCut = MenuItem(mnuEdit, "mnuCut", QStringLiteral("Cu&t"));
  mnuCopy = MenuItem(mnuEdit, "mnuCopy", QStringLiteral("&Copy"));
  mnuPaste = MenuItem(mnuEdit, "mnuPaste", QStringLiteral("&Paste"));

  mnuView = bar->addMenu(QStringLiteral("&View"));
  mnuView->setObjectName(QStringLiteral("mnuView"));
  mnuthm = mnuView->addMenu(QStringLiteral("&Theme"));
  mnuthm->setObjectName(QStringLiteral("mnuthm"));
  const char* themeNames[] = {"mnuTheme_0", "mnuTheme_1", "mnuTheme_2", "mnuTheme_3",
                              "mnuTheme_4", "mnuTheme_5", "mnuTheme_6"};
  const QString themeCaptions[] = {
      QStringLiteral("<default>"),     QStringLiteral("&Crimson Rose"),
      QStringLiteral("&Desert Sand"),  QStringLiteral("&Emerald Forest"),
      QStringLiteral("&Spring Lilac"), QStringLiteral("&The Blues"),
      QStringLiteral("Classic &Grey")};
  for (int i = 0; i < 7; ++i) mnuTheme[i] = MenuItem(mnuthm, themeNames[i], themeCaptions[i]);
  mnuEnableBanner = MenuItem(mnuView, "mnuEnableBanner", QStringLiteral("Enable Banner"));
  mnuEnableBanner->setCheckable(true);
  mnuRefresh = MenuItem(mnuView, "mnuRefresh", QStringLiteral("Refresh"));

  mnuDownload = bar->addMenu(QStringLiteral("&Download"));
  mnuDownload->setObjectName(QStringLiteral("mnuDownload"));
  mnuDLWorkbooks = MenuItem(mnuDownload, "mnuDLWorkbooks", QStringLiteral("Free &Workbooks"));
  mnuDLText = mnuDownload->addMenu(QStringLiteral("Free &E-Texts"));
  mnuDLText->setObjectName(QStringLiteral("mnuDLText"));
  mnuGutenberg = MenuItem(mnuDLText, "mnuGutenberg", QStringLiteral("Gutenberg E-Texts"));
  mnuMemoware = MenuItem(mnuDLText, "mnuMemoware", QStringLiteral("Memoware E-Texts"));

  mnuHelp = bar->addMenu(QStringLiteral("&Help"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  mnuHelpTopics = MenuItem(mnuHelp, "mnuHelpTopics", QStringLiteral("&Help Topics..."));
  mnuHelp->addSeparator();
  mnuSupport = MenuItem(mnuHelp, "mnuSupport", QStringLiteral("&Obtaining Technical Support"));
  mnuUpdate = MenuItem(mnuHelp, "mnuUpdate", QStringLiteral("&Check for Product Updates"));
  mnuWeb = MenuItem(mnuHelp, "mnuWeb", QStringLiteral("&Orvanex Website"));
  mnuHelp->addSeparator();
  mnuAbout = MenuItem(mnuHelp, "mnuAbout", QStringLiteral("&About Brevora Desktop"));
}

void frmSave::BuildCommandToolBar() {
  QStyle* style = QApplication::style();
  picToolbar = Named<QWidget>("picToolbar");
  Toolbar = Named<QToolBar>("Toolbar");
  Toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  Toolbar->setIconSize(QSize(24, 24));
  const auto button = [&](const char* key, const char* caption, QStyle::StandardPixmap icon,
                          const char* tip) {
    QAction* action = Action(Toolbar, key, QString::fromLatin1(caption));
    action->setIcon(style->standardIcon(icon));
    action->setToolTip(QString::fromLatin1(tip));
    return action;
  };
  btnLink = button("btnLink", "Link", QStyle::SP_FileLinkIcon, "Link File");
  btnAdd = button("btnAdd", "Add", QStyle::SP_FileDialogNewFolder, "Add File");
  btnDelete = button("btnDelete", "Delete", QStyle::SP_TrashIcon, "Delete File");
  btnExcel = button("btnExcel", "Excel", QStyle::SP_FileDialogDetailedView, "Open File in Excel");
  btnWord = button("btnWord", "Word", QStyle::SP_FileDialogContentsView, "Open File in Word");
  btnPowerPoint =
      button("btnPowerPoint", "PowerPoint", QStyle::SP_MediaPlay, "Open File in PowerPoint");
  Toolbar->addActions({btnLink, btnAdd, btnDelete});
  Toolbar->addSeparator();
  Toolbar->addActions({btnExcel, btnWord, btnPowerPoint});
  picLogo = Named<QLabel>("picLogo", QStringLiteral("Brevora"));
  QFont logoFont = picLogo->font();
  logoFont.setBold(true);
  logoFont.setPointSizeF(logoFont.pointSizeF() * 1.4);
  picLogo->setFont(logoFont);
  auto* toolRow = new QHBoxLayout(picToolbar);
  toolRow->setContentsMargins(0, 0, 8, 0);
  toolRow->addWidget(Toolbar);
  toolRow->addStretch(1);
  toolRow->addWidget(picLogo);
}

void frmSave::BuildPictures() {
  Picture2 = Named<QLabel>("Picture2");
  Picture2->setFixedHeight(60);
  Picture2->hide();
  // Picture buffers that are never laid out: children of the window all the same.
  picDownload = Named<QLabel>("picDownload", this);
  picDownload->hide();
  const char* dragIconNames[] = {"picDragIcon_0", "picDragIcon_1"};
  for (int mode = 0; mode < 2; ++mode) {
    QImage icon(kDragIconSize, kDragIconSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    {
      QPainter painter(&icon);
      DrawDragIcon(painter, mode);
    }
    picDragIcon[mode] = Named<QLabel>(dragIconNames[mode], this);
    picDragIcon[mode]->setPixmap(QPixmap::fromImage(icon));
    picDragIcon[mode]->hide();
  }
}

void frmSave::BuildFileModeBar() {
  QStyle* style = QApplication::style();
  picOutlook = Named<QWidget>("picOutlook");
  Toolbar1 = Named<QToolBar>("Toolbar1");
  Toolbar1->setOrientation(Qt::Vertical);
  Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  Toolbar1->setIconSize(QSize(32, 32));
  const char* modeKeys[] = {"btnTabulyn", "btnScrivane", "btnSlidora", "btnFilvane"};
  const QString modeCaptions[] = {QStringLiteral("Tabulyn"), QStringLiteral("Scrivane"),
                                  QStringLiteral("Slidora"), QStringLiteral("Filvane")};
  const QStyle::StandardPixmap modeIcons[] = {QStyle::SP_FileDialogDetailedView,
                                              QStyle::SP_FileDialogContentsView,
                                              QStyle::SP_MediaPlay, QStyle::SP_DirIcon};
  auto* modes = new QActionGroup(Toolbar1);
  modes->setExclusive(true);
  for (int i = 0; i < 4; ++i) {
    fileModeButtons[i] = Action(Toolbar1, modeKeys[i], modeCaptions[i]);
    fileModeButtons[i]->setToolTip(modeCaptions[i]);
    fileModeButtons[i]->setIcon(style->standardIcon(modeIcons[i]));
    if (i < 3) {
      fileModeButtons[i]->setCheckable(true);  // the pressed one marks the mode
      modes->addAction(fileModeButtons[i]);
    }
    Toolbar1->addAction(fileModeButtons[i]);
  }
  auto* side = new QVBoxLayout(picOutlook);
  side->setContentsMargins(4, 4, 4, 4);
  side->addWidget(Toolbar1);
  side->addStretch(1);
}

QVBoxLayout* frmSave::BuildLists() {
  QStyle* style = QApplication::style();
  lblUser = Named<QLabel>("lblUser", QStringLiteral("User:"));
  cboUser = Named<QComboBox>("cboUser");
  cboUser->setMinimumContentsLength(16);
  cboUser->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  lblUser->setBuddy(cboUser);
  picUser = Named<QLabel>("picUser");
  picUser->setPixmap(style->standardIcon(QStyle::SP_ComputerIcon).pixmap(20, 20));
  btnRefresh = Named<QPushButton>("btnRefresh", QStringLiteral("Refresh"));
  cmdExplore = Named<QPushButton>("cmdExplore", QStringLiteral("Explore"));
  cmdSync = Named<QPushButton>("cmdSync", QStringLiteral("Sync"));
  cmdExplore->hide();
  cmdSync->hide();

  lblCategory = Named<QLabel>("lblCategory", QStringLiteral("Categories:"));
  lstCategory = Named<QListWidget>("lstCategory");
  lstCategory->setMinimumWidth(150);
  lstCategory->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
  lblCategory->setBuddy(lstCategory);
  lstWorkbook = Named<QTreeWidget>("lstWorkbook");
  lstWorkbook->setRootIsDecorated(false);
  lstWorkbook->setUniformRowHeights(true);
  lstWorkbook->setSelectionMode(QAbstractItemView::ExtendedSelection);
  lstWorkbook->setMinimumWidth(460);
  SetColumns("Workbook", true);

  lblName = Named<QLabel>("lblName", QStringLiteral("Name:"));
  txtWorkbook = Named<QLineEdit>("txtWorkbook");
  DropReservedNameCharacters(*txtWorkbook);  // pasted text is checked on OK
  lblName->setBuddy(txtWorkbook);
  cbxOpenAsTemplate =
      Named<QCheckBox>("cbxOpenAsTemplate", QStringLiteral("Open in current spreadsheet"));
  cmdOptions = Named<QPushButton>("cmdOptions", QStringLiteral("Options..."));
  // Shown by the roles that offer them.
  cbxOpenAsTemplate->hide();
  cmdOptions->hide();
  cmdOkCancel[0] = Named<QPushButton>("cmdOkCancel_0", QStringLiteral("Save"));
  cmdOkCancel[1] = Named<QPushButton>("cmdOkCancel_1", QStringLiteral("Cancel"));
  cmdOkCancel[0]->setDefault(true);

  auto* userRow = new QHBoxLayout;
  userRow->addWidget(picUser);
  userRow->addWidget(lblUser);
  userRow->addWidget(cboUser, 1);
  userRow->addSpacing(12);
  userRow->addWidget(cmdSync);
  userRow->addWidget(cmdExplore);
  userRow->addStretch(1);
  userRow->addWidget(btnRefresh);

  auto* lists = new QGridLayout;
  lists->addWidget(lblCategory, 0, 0);
  lists->addWidget(lstCategory, 1, 0);
  lists->addWidget(lstWorkbook, 0, 1, 2, 1);
  lists->setColumnStretch(1, 1);
  lists->setRowStretch(1, 1);

  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(lblName);
  nameRow->addWidget(txtWorkbook, 1);
  nameRow->addWidget(cmdOkCancel[0]);
  auto* optionRow = new QHBoxLayout;
  optionRow->addWidget(cbxOpenAsTemplate);
  optionRow->addWidget(cmdOptions);
  optionRow->addStretch(1);
  optionRow->addWidget(cmdOkCancel[1]);

  auto* work = new QVBoxLayout;
  work->addLayout(userRow);
  work->addLayout(lists, 1);
  work->addWidget(Picture2);  // the banner strip: the lists end above it
  work->addLayout(nameRow);
  work->addLayout(optionRow);
  return work;
}

void frmSave::SetColumns(const std::string& column1, bool linkColumns) {
  QStringList headers{QString::fromStdString(text::CpToUtf8(column1))};
  if (linkColumns) {
    headers << QStringLiteral("Size") << QStringLiteral("Link To")
            << QStringLiteral("Linked File Sync");
  }
  lstWorkbook->setColumnCount(static_cast<int>(headers.size()));
  lstWorkbook->setHeaderLabels(headers);
  QHeaderView* header = lstWorkbook->header();
  header->setStretchLastSection(true);
  if (linkColumns) {
    header->resizeSection(0, 160);
    header->resizeSection(1, 55);
    header->resizeSection(2, 95);
  }
}

}  // namespace brevora::frontend::forms
