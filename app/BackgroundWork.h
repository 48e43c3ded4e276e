#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class QProgressDialog;
class QThread;
class QWidget;

namespace pwx {

// Runs long work of the core (a check, a copy to a card, a conversion) beside the window, so
// the window keeps drawing: a progress dialog shows how far it is and offers Cancel, and the
// end is reported on the window's thread. While the work runs, the progress dialog alone
// takes the user's input, also in the moment before it shows: no click, key or shortcut
// starts another command that would change what the work reads.
class BackgroundWork : public QObject {
  Q_OBJECT

 public:
  // How the work reports progress, from its own thread: done of total, and what it does.
  using Report = std::function<void(std::uint64_t done, std::uint64_t total, const QString& what)>;
  // The work itself, on its own thread; it stops early when the flag is set.
  using Work = std::function<void(const Report& report, const std::atomic<bool>& cancel)>;

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
