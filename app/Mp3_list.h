#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/ReportDialog.h"
#include "app/WindowLayout.h"
#include "delivery/CardDeploy.h"
#include "delivery/CardPlan.h"
#include "delivery/InputSequence.h"
#include "delivery/ProjectCheck.h"
#include "delivery/SiteFile.h"
#include "project/Editor.h"

class QStringListModel;
class QTimer;
class QUrl;

namespace pwx {

class CardPlanDialog;
class CheckResultsDialog;
class SiteDialog;
class BackgroundWork;
class SlotRow;

// The editor's main window, Form1. It is a view of its Editor: every control edit and
// button goes to the Editor through one catch point, and after each handled event the
// window shows the Editor's whole state again.
class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  TForm1(Host& host, AudioPlayer& player, std::string currentDir, QWidget* parent = nullptr);
  ~TForm1() override;

  Editor& editor() { return editor_; }
  const WindowWidgets& widgets() const { return widgets_; }

  // The start-up on the first activation; later activations only refresh. Runs on
  // activation and once after the first show; may be called directly.
  void FormActivate();

  // Shows the Editor's state in every control.
  void ShowState();

  // Rebuilds the items of the 128 clip selectors from the Editor's choices.
  void RebuildClipSelectors();

  // Checks the project beside the window and lists the findings; the list, once shown.
  void CheckProject();
  CheckResultsDialog* CheckResults() const { return checkResults_; }
  // Copies the saved project to a player's card after showing the plan; compares a card
  // with the project.
  void CopyToCard();
  void CompareWithCard();
  // "Site…": a site file's players in a dialog (WindowSite.cpp); a player's card copied as
  // Copy to Card copies, with the player's rtu.cfg and vol.cfg.
  void OpenSite();
  SiteDialog* OpenSiteFile(SiteFile site);
  void CopySitePlayer(const SiteFile& site, std::size_t player);
  // Compares another project folder with the project, in the player's terms.
  void CompareWithProject();
  // For tests: answers the card question, and looks over the plan instead of the user.
  void SetCardChooser(std::function<std::optional<QString>(const QString& title)> chooser) {
    cardChooser_ = std::move(chooser);
  }
  // For tests: answers the question for another project folder.
  void SetFolderChooser(std::function<std::optional<QString>(const QString& title)> chooser) {
    folderChooser_ = std::move(chooser);
  }
  void SetPlanReview(std::function<bool(CardPlanDialog&)> review) {
    planReview_ = std::move(review);
  }

  // Writes the commissioning report (or the alarm table) where the user chooses, and shows
  // it when asked.
  void MakeReport();
  // For tests: answers the report's save dialog, and receives what would be opened.
  void SetReportTarget(std::function<std::optional<ReportTarget>(const QString& suggested)> ask) {
    reportTarget_ = std::move(ask);
  }
  void SetUrlOpener(std::function<void(const QUrl&)> open) { urlOpener_ = std::move(open); }

  // Selects a clip's row of the audio grid.
  void ShowClip(int clip);
  // Scrolls a slot row into view and gives its first clip selector the focus.
  void ShowInput(int slot);

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Runs a handler through the Editor's catch point, then shows the state.
  template <class Action>
  void Run(Action&& action) {
    editor_.Handle(std::forward<Action>(action));
    ShowState();
  }

  void ConnectTopBar();
  void ConnectSettings();
  void ConnectAudio();
  void ConnectKeys();
  void ConnectHabits();
  // Fills the arrow of Load Project with the projects opened last.
  void ListRecentProjects();
  // Undo and redo with their steps, the project folder, the grid's hint, passing texts.
  void ShowHabits();
  void ShowCheckResults(const std::vector<Finding>& findings);
  // Asks for the check's limit on one trigger, kept as a preference.
  void AskForMaxTrigger();
  std::optional<QString> AskForCard(const QString& title);
  void StartCopy(const ProjectSnapshot& snapshot, DeployPlan plan, bool deleteStale);
  // The copy of a reviewed plan, run off the window's thread: the card is planned again under
  // its lock (with `planning`'s generated files, if any) and copied only when it is still as
  // the plan showed it; the hashes learnt are kept in `store`.
  static DeployResult CopyReviewedPlan(const ProjectSnapshot& snapshot, const DeployPlan& plan,
                                       PlanOptions planning, bool deleteStale,
                                       const std::string& store, const WorkControl& control);
  // Gives a new slot row the shared clip choices and connects its controls to the Editor.
  void AttachSlotRow(SlotRow* row);
  void ShowSettings();
  void ShowAudioGrid();
  void ShowModeView();
  void ShowSlots();
  // The trigger-input test (WindowTestInput.cpp).
  struct InputTest;
  void ConnectTestInput(AudioPlayer& player);
  void StartInputTest();
  // The acceptance test sheet of the current mode's inputs, beside the window.
  void OpenTestSheet();
  void ShowTestCursor();
  void ShowTestInput();
  // Times the input in `slot` of `snapshot` and draws it in the strip.
  InputSequence DrawTestInput(ProjectSnapshot snapshot, int slot);

  Editor editor_;
  WindowWidgets widgets_;
  QStringListModel* clipChoices_ = nullptr;  // shared by all 128 clip selectors
  BackgroundWork* background_ = nullptr;     // checks and copies beside the window
  QTimer* statusTimer_ = nullptr;            // ends a status text that holds a few seconds
  CheckResultsDialog* checkResults_ = nullptr;
  std::function<std::optional<QString>(const QString&)> cardChooser_;
  std::function<std::optional<QString>(const QString&)> folderChooser_;
  std::function<bool(CardPlanDialog&)> planReview_;
  std::function<std::optional<ReportTarget>(const QString&)> reportTarget_;
  std::function<void(const QUrl&)> urlOpener_;
  std::optional<unsigned> shownClipVersion_;
  bool showing_ = false;
  bool activating_ = false;
  bool shownOnce_ = false;
  std::shared_ptr<InputTest> inputTest_;
};

}  // namespace pwx
