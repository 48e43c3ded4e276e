#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

#include "app/AboutBox.h"
#include "app/Mp3_list.h"
#include "app/QtText.h"
#include "common/PathText.h"

// The window's habits beside its design: undo and redo, the projects opened last, the import
// button and the empty grid's hint, help, and status texts that pass.
namespace pwx {

namespace {

constexpr int kPassingStatusMilliseconds = 5000;

// A text field would take Ctrl+Z and its kin for its own undo of letters; in this window
// they undo and redo the record's edits, so they are left to the window's shortcuts.
class UndoKeysToWindow : public QObject {
 public:
  explicit UndoKeysToWindow(QWidget* window) : QObject(window), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return false;
    const auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field || field->window() != window_) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!key->matches(QKeySequence::Undo) && !key->matches(QKeySequence::Redo) &&
        key->keyCombination() != QKeyCombination(Qt::CTRL, Qt::Key_Y)) {
      return false;
    }
    event->ignore();
    return true;
  }

 private:
  QWidget* window_;
};

}  // namespace

void TForm1::ConnectHabits() {
  connect(widgets_.Undo, &QToolButton::clicked, this, [this] { Run([this] { editor_.Undo(); }); });
  connect(widgets_.Redo, &QToolButton::clicked, this, [this] { Run([this] { editor_.Redo(); }); });
  auto clickOn = [this](QKeySequence keys, QToolButton* button) {
    auto* shortcut = new QShortcut(keys, this);
    // The window's own undo and redo, also while a text field has the focus.
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, button, &QToolButton::click);
  };
  qApp->installEventFilter(new UndoKeysToWindow(this));
  clickOn(QKeySequence(Qt::CTRL | Qt::Key_Z), widgets_.Undo);
  clickOn(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), widgets_.Redo);
  clickOn(QKeySequence(Qt::CTRL | Qt::Key_Y), widgets_.Redo);
  clickOn(QKeySequence(Qt::Key_F1), widgets_.Help);
  connect(widgets_.Help, &QToolButton::clicked, this, [this] { ShowAbout(this); });

  connect(widgets_.ImportClip, &QToolButton::clicked, this,
          [this] { Run([this] { editor_.ImportIntoCurrentRow(); }); });
  connect(widgets_.RecentProjects, &QMenu::aboutToShow, this, &TForm1::ListRecentProjects);

  statusTimer_ = new QTimer(this);
  statusTimer_->setSingleShot(true);
  connect(statusTimer_, &QTimer::timeout, this, [this] {
    editor_.ExpireStatus();
    ShowState();
  });
}

void TForm1::ListRecentProjects() {
  QMenu* menu = widgets_.RecentProjects;
  menu->clear();
  const std::vector<RecentProject> recent = editor_.RecentProjects();
  if (recent.empty()) menu->addAction(QStringLiteral("No projects opened yet"))->setEnabled(false);
  for (const RecentProject& project : recent) {
    const QString folder = Text(project.Folder);
    QAction* entry =
        menu->addAction(project.Found ? folder : folder + QStringLiteral(" (not found)"));
    entry->setEnabled(project.Found);
    entry->setToolTip(folder);
    connect(entry, &QAction::triggered, this,
            [this, path = project.Folder] { Run([&] { editor_.LoadRecentProject(path); }); });
  }
}

void TForm1::ShowHabits() {
  const EditHistory& history = editor_.History();
  const std::pair<QToolButton*, std::string> steps[] = {
      {widgets_.Undo, history.CanUndo() ? history.UndoText() : "Nothing to undo"},
      {widgets_.Redo, history.CanRedo() ? history.RedoText() : "Nothing to redo"},
  };
  for (const auto& [button, text] : steps) {
    const QString tip = Text(text) + (button == widgets_.Undo ? QStringLiteral(" (Ctrl+Z)")
                                                              : QStringLiteral(" (Ctrl+Y)"));
    if (button->toolTip() != tip) button->setToolTip(tip);
  }
  widgets_.Undo->setEnabled(history.CanUndo());
  widgets_.Redo->setEnabled(history.CanRedo());

  // The folder in full as the tooltip; on the label shortened in its middle to fit.
  QLabel* label = widgets_.Label115;
  const QString full = Text(editor_.ProjectDirLabel());
  const QFontMetrics metrics(label->font());
  const int room = label->width();
  QString shown = Text(ElidePath(editor_.ProjectDirLabel(), [&](const std::string& text) {
    return metrics.horizontalAdvance(Text(text)) <= room;
  }));
  if (metrics.horizontalAdvance(shown) > room) {
    shown = metrics.elidedText(shown, Qt::ElideMiddle, room);
  }
  if (label->text() != shown) label->setText(shown);
  if (label->toolTip() != full) label->setToolTip(full);

  const QString limit =
      QStringLiteral("Longest trigger to allow: %1 s…").arg(editor_.MaxTriggerSeconds());
  if (widgets_.MaxTrigger->text() != limit) widgets_.MaxTrigger->setText(limit);

  const QString hint = Text(editor_.GridHint());
  if (widgets_.GridHint->text() != hint) widgets_.GridHint->setText(hint);
  widgets_.GridHint->setVisible(!hint.isEmpty());

  // A text that holds for a few seconds ("Saved: ...") goes once they have passed.
  if (editor_.StatusExpires()) {
    if (!statusTimer_->isActive()) statusTimer_->start(kPassingStatusMilliseconds);
  } else {
    statusTimer_->stop();
  }
}

}  // namespace pwx
