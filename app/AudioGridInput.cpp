#include "app/AudioGridInput.h"

#include <QDir>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTableWidget>
#include <QUrl>

#include "app/QtText.h"

namespace pwx {

namespace {

// The local files a drag carries, as native paths.
std::vector<std::string> DroppedFiles(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(NativePath(url.toLocalFile()));
  }
  return paths;
}

}  // namespace

AudioGridInput::AudioGridInput(QTableWidget* grid, Actions actions)
    : QObject(grid), grid_(grid), viewport_(grid->viewport()), actions_(std::move(actions)) {
  grid->installEventFilter(this);
  grid->viewport()->installEventFilter(this);
  grid->viewport()->setAcceptDrops(true);
}

bool AudioGridInput::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::NoModifier) return false;
    switch (key->key()) {
      case Qt::Key_Space:
        actions_.play();
        return true;
      case Qt::Key_Escape:
        actions_.stop();
        return true;
      case Qt::Key_Delete:
        actions_.remove();
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        actions_.import();
        return true;
      default:
        return false;
    }
  }
  if (watched != viewport_) return false;
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      const int row = grid_->rowAt(drag->position().toPoint().y());
      if (row > 0 && !DroppedFiles(drag->mimeData()).empty()) {
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
      } else {
        drag->ignore();
      }
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const int row = grid_->rowAt(drop->position().toPoint().y());
      const std::vector<std::string> paths = DroppedFiles(drop->mimeData());
      if (row <= 0 || paths.empty()) return true;
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      actions_.drop(row, paths);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace pwx
