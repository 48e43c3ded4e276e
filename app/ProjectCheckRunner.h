#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "delivery/ProjectCheck.h"

class QProgressDialog;
class QThread;
class QWidget;

namespace pwx {

// Runs the project check beside the window, so the window keeps drawing: a progress dialog
// counts the clips decoded and offers Cancel, and the findings come back on the window's
// thread.
class ProjectCheckRunner : public QObject {
  Q_OBJECT

 public:
  // The findings, or nothing when the user cancelled.
  using Done = std::function<void(std::optional<std::vector<Finding>>)>;

  explicit ProjectCheckRunner(QWidget* window);
  // Cancels a check that still runs and waits for it.
  ~ProjectCheckRunner() override;

  bool Running() const { return thread_ != nullptr; }
  // Checks the snapshot; does nothing while a check runs.
  void Start(ProjectSnapshot snapshot, Done done);

 private:
  void Finished();

  QWidget* window_;
  QThread* thread_ = nullptr;
  QPointer<QProgressDialog> progress_;
  std::shared_ptr<std::atomic<bool>> cancel_;
  std::vector<Finding> findings_;
  Done done_;
};

}  // namespace pwx
