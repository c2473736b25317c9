#include "album/app/album_file_list.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "platform/error/error.h"
#include "platform/fs/paths.h"

namespace brevora::album {

AlbumFileList::AlbumFileList(QWidget* parent) : QListWidget(parent) {
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void AlbumFileList::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void AlbumFileList::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void AlbumFileList::dropEvent(QDropEvent* event) {
  if (!event->mimeData()->hasUrls()) return;
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (!url.isLocalFile()) continue;
    try {
      paths.push_back(fs::SystemPath(url.toLocalFile().toStdString()));
    } catch (const AutomationError&) {
      // A name the code page can't hold: skipped like any file we can't take.
    }
  }
  event->acceptProposedAction();
  emit filesDropped(paths);
}

}  // namespace brevora::album
