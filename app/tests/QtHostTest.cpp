#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <functional>

#include "app/QtHost.h"
#include "common/EditorError.h"

namespace pwx {

namespace {

// Once the next modal dialog is up, runs `answer` on it.
void WhenDialogOpens(std::function<void(QFileDialog*)> answer) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      poll->stop();
      poll->deleteLater();
      answer(dialog);
    }
  });
  poll->start(10);
}

void TypeAndConfirm(QFileDialog* dialog, const QString& typed) {
  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  QVERIFY(name);
  name->setText(typed);
  QTest::keyClick(name, Qt::Key_Return);
}

}  // namespace

class QtHostTest : public QObject {
  Q_OBJECT

 private slots:
  // The folder dialog returns what the user typed, also a folder that does not exist yet
  // (the editor then offers to create it), without a trailing separator.
  void folderDialogReturnsTheTypedFolder_data() {
    QTest::addColumn<QString>("typed");  // relative to the start folder
    QTest::addColumn<QString>("chosen");
    QTest::newRow("existing") << "old"
                              << "old";
    QTest::newRow("existing, trailing slash") << "old/"
                                              << "old";
    QTest::newRow("new folder") << "new"
                                << "new";
    QTest::newRow("new nested folder") << "new/hall 1"
                                       << "new/hall 1";
  }

  void folderDialogReturnsTheTypedFolder() {
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QTemporaryDir start;
    QVERIFY(QDir(start.path()).mkdir("old"));
    QtHost host;
    WhenDialogOpens([&](QFileDialog* dialog) {
      QCOMPARE(dialog->windowTitle(), "Select Directory");
      TypeAndConfirm(dialog, start.filePath(typed));
    });
    const auto folder =
        host.ChooseFolder("Select Directory", QDir::toNativeSeparators(start.path()).toStdString());
    QVERIFY(folder.has_value());
    QCOMPARE(QString::fromStdString(*folder), QDir::toNativeSeparators(start.filePath(chosen)));
    QVERIFY(!QDir(start.filePath("new")).exists());  // creating it is the editor's business
  }

  void folderDialogCancelled() {
    QTemporaryDir start;
    QtHost host;
    WhenDialogOpens([](QFileDialog* dialog) { dialog->reject(); });
    QVERIFY(!host.ChooseFolder("Select Directory", start.path().toStdString()).has_value());
  }

  void mp3DialogOffersMp3Files() {
    QTemporaryDir start;
    QFile clip(start.filePath("Tone.mp3"));
    QVERIFY(clip.open(QIODevice::WriteOnly));
    clip.close();
    QtHost host;
    WhenDialogOpens([&](QFileDialog* dialog) {
      QCOMPARE(dialog->nameFilters(),
               QStringList({"MP3 File (*.mp3)",
                            "Audio files (*.mp3 *.wav *.flac *.ogg *.oga *.aif *.aiff)"}));
      QCOMPARE(dialog->selectedNameFilter(), "MP3 File (*.mp3)");
      QCOMPARE(dialog->directory().absolutePath(), QDir(start.path()).absolutePath());
      TypeAndConfirm(dialog, "Tone");  // the default suffix completes the name
    });
    const auto file = host.ChooseMp3File(QDir::toNativeSeparators(start.path()).toStdString());
    QVERIFY(file.has_value());
    QCOMPARE(QString::fromStdString(*file), QDir::toNativeSeparators(start.filePath("Tone.mp3")));
  }

  // Long work runs on a thread of its own while the caller's thread goes on handling events,
  // and what it raises reaches the caller.
  void longWorkRunsBesideTheWindowAndRaisesItsError() {
    QtHost host;
    QThread* worker = nullptr;
    bool timerFired = false;
    QTimer::singleShot(10, [&] { timerFired = true; });
    host.RunLongWork("Working", [&](const WorkControl& control) {
      worker = QThread::currentThread();
      control.Report(1, 2, "Converting tone.wav into 001.mp3");
      QThread::msleep(200);
    });
    QVERIFY(worker && worker != QThread::currentThread());
    QVERIFY(timerFired);

    // Keys typed into the window while the work runs, before its dialog shows, are not taken.
    QLineEdit window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    host.SetWindow(&window);
    QTimer::singleShot(20, [&] { QTest::keyClicks(&window, QStringLiteral("x")); });
    host.RunLongWork("Working", [](const WorkControl&) { QThread::msleep(200); });
    QCOMPARE(window.text(), QString());
    bool raised = false;
    try {
      host.RunLongWork("Failing",
                       [](const WorkControl&) { throw EditorError("the clip is no sound"); });
    } catch (const EditorError& error) {
      raised = std::string(error.what()) == "the clip is no sound";
    }
    QVERIFY(raised);
  }

  void saveQuestionOffersSaveDiscardAndCancel_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("answer");
    QTest::newRow("Save") << int(QMessageBox::Save) << int(Host::SaveAnswer::Save);
    QTest::newRow("Discard") << int(QMessageBox::Discard) << int(Host::SaveAnswer::Discard);
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << int(Host::SaveAnswer::Cancel);
  }

  void saveQuestionOffersSaveDiscardAndCancel() {
    QFETCH(int, button);
    QFETCH(int, answer);
    QtHost host;
    QTimer::singleShot(0, [button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      QCOMPARE(box->text(), "Save changes to the project before closing?");
      QCOMPARE(box->defaultButton(), box->button(QMessageBox::Save));
      box->button(QMessageBox::StandardButton(button))->click();
    });
    QCOMPARE(int(host.AskSaveChanges("Save changes to the project before closing?")), answer);
  }

  void preferencesLastBetweenHosts() {
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QtHost().SetPreference("import/folder", "/home/op/Sounds");
    QCOMPARE(QtHost().Preference("import/folder"), "/home/op/Sounds");
    QCOMPARE(QtHost().Preference("never/set"), "");
    QVERIFY(QFile::exists(config.filePath("pwx36-editor/pwx36-editor.conf")));
  }
};

}  // namespace pwx

QTEST_MAIN(pwx::QtHostTest)
#include "QtHostTest.moc"
