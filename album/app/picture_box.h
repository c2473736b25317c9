#pragma once
// PictureBox: the album's preview box. It shows one picture unscaled in the
// top left corner of its inside (within its sunken border), or nothing.
#include <QFrame>
#include <QImage>
#include <QSize>

namespace brevora::album {

class PictureBox : public QFrame {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  // The size of the inside, in pixels: what a picture may take.
  QSize InsideSize() const { return contentsRect().size(); }
  void SetPicture(QImage picture);
  void Clear();
  const QImage& picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace brevora::album
