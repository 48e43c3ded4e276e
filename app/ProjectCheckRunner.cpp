#include "app/ProjectCheckRunner.h"

#include <QProgressDialog>
#include <QThread>

namespace pwx {

namespace {

QString ProgressText(int done, int total) {
  return QStringLiteral("Decoding the clips: %1 of %2 done").arg(done).arg(total);
}

}  // namespace

ProjectCheckRunner::ProjectCheckRunner(QWidget* window) : QObject(window), window_(window) {}

ProjectCheckRunner::~ProjectCheckRunner() {
  if (!thread_) return;
  cancel_->store(true);
  thread_->wait();
  delete thread_;
}

void ProjectCheckRunner::Start(ProjectSnapshot snapshot, Done done) {
  if (thread_) return;
  done_ = std::move(done);
  cancel_ = std::make_shared<std::atomic<bool>>(false);
  findings_.clear();

  progress_ = new QProgressDialog(QStringLiteral("Checking the project…"), QStringLiteral("Cancel"),
                                  0, 0, window_);
  progress_->setWindowTitle(QStringLiteral("Check Project"));
  progress_->setWindowModality(Qt::WindowModal);
  progress_->setMinimumDuration(300);
  progress_->setAutoReset(false);
  progress_->setAutoClose(false);
  connect(progress_, &QProgressDialog::canceled, this, [cancel = cancel_] { cancel->store(true); });

  CheckOptions options;
  options.Cancel = cancel_.get();
  // Called on the decoding threads: the dialog is updated on the window's thread.
  options.Progress = [progress = progress_](int clips, int total) {
    QMetaObject::invokeMethod(
        progress,
        [progress, clips, total] {
          if (!progress) return;
          progress->setMaximum(total);
          progress->setValue(clips);
          progress->setLabelText(ProgressText(clips, total));
        },
        Qt::QueuedConnection);
  };
  thread_ = QThread::create([this, snapshot = std::move(snapshot), options] {
    findings_ = CheckProject(snapshot, options);
  });
  connect(thread_, &QThread::finished, this, &ProjectCheckRunner::Finished);
  thread_->start();
}

void ProjectCheckRunner::Finished() {
  thread_->deleteLater();
  thread_ = nullptr;
  if (progress_) progress_->deleteLater();
  const bool cancelled = cancel_->load();
  Done done = std::move(done_);
  if (cancelled) {
    done(std::nullopt);
  } else {
    done(std::move(findings_));
  }
}

}  // namespace pwx
