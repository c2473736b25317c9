#pragma once
// frmAbout: the album's About box: "About " and the program's title as its
// caption, the title, and "Version " with major, minor and revision.
#include <QDialog>

class QLabel;
class QPushButton;

namespace brevora::album {

inline constexpr const char* kProgramTitle = "Albumet";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* parent = nullptr);

  QLabel* lblTitle;
  QLabel* lblVersion;
  QPushButton* cmdOK;
};

}  // namespace brevora::album
