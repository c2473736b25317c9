#include "album/app/picture_box.h"

#include <QPainter>

namespace brevora::album {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
}

void PictureBox::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  update();
}

void PictureBox::Clear() {
  picture_ = QImage();
  update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.setClipRect(contentsRect());
  painter.drawImage(contentsRect().topLeft(), picture_);
}

}  // namespace brevora::album
