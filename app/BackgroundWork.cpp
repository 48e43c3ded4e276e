#include "app/BackgroundWork.h"

#include <QCoreApplication>
#include <QEvent>
#include <QProgressDialog>
#include <QThread>
#include <QWindow>

namespace pwx {

namespace {

// A progress bar counts in int: large byte counts are scaled to this.
constexpr std::uint64_t kSteps = 10000;

// Keeps the user's input away from everything but the progress dialog. The dialog shows only
// after a while, and until then the window would take keys, clicks and shortcuts.
class InputBlocker : public QObject {
 public:
  InputBlocker(QWidget* allowed, QObject* parent) : QObject(parent), allowed_(allowed) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~InputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::ContextMenu:
      case QEvent::Drop:
      case QEvent::Close:
        if (InDialog(watched)) return false;
        event->ignore();
        return true;
      default:
        return false;
    }
  }

 private:
  // Input reaches the dialog's window first, then its widgets; a shortcut goes to the
  // shortcut or action, which belongs to the widget it is made for.
  bool InDialog(QObject* watched) const {
    if (!allowed_) return false;
    if (const auto* window = qobject_cast<QWindow*>(watched)) {
      return window == allowed_->windowHandle();
    }
    for (QObject* object = watched; object; object = object->parent()) {
      if (auto* widget = qobject_cast<QWidget*>(object)) {
        return widget == allowed_ || allowed_->isAncestorOf(widget);
      }
    }
    return false;
  }

  QPointer<QWidget> allowed_;
};

}  // namespace

BackgroundWork::BackgroundWork(QWidget* window) : QObject(window), window_(window) {}

BackgroundWork::~BackgroundWork() {
  if (!thread_) return;
  cancel_->store(true);
  thread_->wait();
  delete thread_;
}

void BackgroundWork::Start(const QString& title, Work work, std::function<void(bool)> done) {
  if (thread_) return;
  done_ = std::move(done);
  cancel_ = std::make_shared<std::atomic<bool>>(false);

  progress_ =
      new QProgressDialog(title + QStringLiteral("…"), QStringLiteral("Cancel"), 0, 0, window_);
  progress_->setWindowTitle(title);
  progress_->setWindowModality(Qt::WindowModal);
  progress_->setMinimumDuration(300);
  progress_->setAutoReset(false);
  progress_->setAutoClose(false);
  progress_->setMinimumWidth(420);
  // By itself the dialog would hide at once, while the work still winds down.
  disconnect(progress_, &QProgressDialog::canceled, progress_, &QProgressDialog::cancel);
  connect(progress_, &QProgressDialog::canceled, this, [progress = progress_, cancel = cancel_] {
    cancel->store(true);
    if (progress) progress->setLabelText(QStringLiteral("Cancelling…"));
  });

  blocker_ = new InputBlocker(progress_, this);

  ended_ = std::make_shared<bool>(false);
  WorkControl control;
  control.Cancel = cancel_.get();
  control.Progress = [progress = progress_, ended = ended_,
                      cancel = cancel_](const ProgressStep& step) {
    const int value = static_cast<int>(ProgressIn(step, kSteps));
    const QString what = QString::fromStdString(ProgressText(step));
    QMetaObject::invokeMethod(
        progress,
        [progress, ended, cancel, value, what] {
          // A report that arrives after the end would show the dialog again.
          if (!progress || *ended) return;
          progress->setMaximum(static_cast<int>(kSteps));
          progress->setValue(value);
          if (!*cancel) progress->setLabelText(what);
        },
        Qt::QueuedConnection);
  };
  thread_ = QThread::create([work = std::move(work), control, cancel = cancel_] {
    (void)cancel;  // keeps the flag alive while the work reads it
    work(control);
  });
  connect(thread_, &QThread::finished, this, &BackgroundWork::Finished);
  thread_->start();
}

QWidget* BackgroundWork::Dialog() const {
  return progress_;
}

void BackgroundWork::Finished() {
  thread_->deleteLater();
  thread_ = nullptr;
  *ended_ = true;
  // The input is the window's again before `done` shows what comes next.
  delete blocker_;
  blocker_ = nullptr;
  if (progress_) {
    // Gone before `done` shows what comes next, which may run a dialog of its own: its timer
    // that shows it after a while stops, and it is hidden at once.
    progress_->reset();
    progress_->hide();
    progress_->deleteLater();
  }
  auto done = std::move(done_);
  done(cancel_->load());
}

}  // namespace pwx
