#pragma once
// AlbumFileList: the album's entry list, which also takes files dropped on it
// from a file manager. A drop hands the local files on, in the order they came,
// as system paths; a name the code page can't hold is left out.
#include <QListWidget>
#include <string>
#include <vector>

namespace brevora::album {

class AlbumFileList : public QListWidget {
  Q_OBJECT

 public:
  explicit AlbumFileList(QWidget* parent = nullptr);

 signals:
  void filesDropped(const std::vector<std::string>& paths);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

}  // namespace brevora::album
