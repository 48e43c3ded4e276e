#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

#include "common/Progress.h"

class QProgressDialog;
class QThread;
class QWidget;

namespace pwx {

// Runs long work of the core (a check, a copy to a card, a conversion) beside the window, so
// the window keeps drawing: a progress dialog shows the steps the work reports (their text,
// and how far each is on its bar) and offers Cancel, and the end is reported on the window's
// thread. While the work runs, the progress dialog alone
// takes the user's input, also in the moment before it shows: no click, key or shortcut
// starts another command that would change what the work reads.
class BackgroundWork : public QObject {
  Q_OBJECT

 public:
  // The work itself, on its own thread: it reports its steps through the control, and stops
  // early when the control's cancel flag is set.
  using Work = std::function<void(const WorkControl& control)>;

  explicit BackgroundWork(QWidget* window);
  // Cancels work that still runs and waits for it.
  ~BackgroundWork() override;

  bool Running() const { return thread_ != nullptr; }
  // The progress dialog of the work that runs, if any.
  QWidget* Dialog() const;
  // Runs `work` under a progress dialog titled `title`; `done` gets whether the user
  // cancelled. Does nothing while work runs. After Cancel the dialog says "Cancelling…" and
  // stays until the work has stopped.
  void Start(const QString& title, Work work, std::function<void(bool cancelled)> done);

 private:
  void Finished();

  QWidget* window_;
  QThread* thread_ = nullptr;
  QPointer<QProgressDialog> progress_;
  QObject* blocker_ = nullptr;  // keeps the input away from all but the dialog
  std::shared_ptr<std::atomic<bool>> cancel_;
  std::shared_ptr<bool> ended_;  // read and written on the window's thread only
  std::function<void(bool)> done_;
};

}  // namespace pwx
