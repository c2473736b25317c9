#pragma once
// CAboutDlg: the receiver's About box, opened from the window's system menu
// ("&About VantaPC..."): the program's icon, its name and version, and OK.
#include <QDialog>

class QLabel;
class QPushButton;

namespace brevora::remote::app {

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(const QIcon& icon, QWidget* parent = nullptr);

  QLabel* lblIcon;
  QLabel* lblVersion;
  QPushButton* btnOK;
};

}  // namespace brevora::remote::app
