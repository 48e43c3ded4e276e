#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <string>

#include "app/QtAudioPlayer.h"
#include "common/EditorError.h"
#include "delivery/SequencePlayback.h"

namespace pwx {
namespace {

// The error clip that every saved project carries: one second of speech.
const std::string kClip = PWX_ERR1_MP3;
constexpr int kClipMs = 1000;
// Generous: a loaded machine may start playback late, but never plays faster than real time.
constexpr int kFinishWithinMs = 8000;

const QString kNoError = QStringLiteral("(no error)");
const QString kNoDeviceOpen = QString::fromUtf8(kNoDeviceOpenText);

// The text of the EditorError that `action` raises, or kNoError.
QString ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EditorError& error) {
    return QString::fromStdString(error.what());
  }
  return kNoError;
}

void OpenAndPlay(QtAudioPlayer& player, const std::string& path) {
  player.SetFileName(path);
  player.Open();
  player.Play();
}

}  // namespace

class QtAudioPlayerTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY2(QFile::exists(QString::fromStdString(kClip)), kClip.c_str()); }

  void playAndStopNeedAnOpenFile() {
    QtAudioPlayer player;
    QCOMPARE(ErrorOf([&] { player.Stop(); }), kNoDeviceOpen);
    QCOMPARE(ErrorOf([&] { player.Play(); }), kNoDeviceOpen);

    player.SetFileName(kClip);
    QCOMPARE(ErrorOf([&] { player.Play(); }), kNoDeviceOpen);  // a name alone opens nothing
    player.Open();
    player.Close();
    player.Close();  // closing a closed player is fine
    QCOMPARE(ErrorOf([&] { player.Stop(); }), kNoDeviceOpen);
    QCOMPARE(ErrorOf([&] { player.Play(); }), kNoDeviceOpen);
  }

  void opensAnyFileNameTheSystemAllows() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // Spaces, a '#' that a URL would take for a fragment, and text outside ASCII (UTF-8).
    const QString path =
        dir.filePath(QString::fromUtf8("Fire #1 \xE2\x80\x93 \xE8\xAD\xA6\xE5\xA0\xB1.mp3"));
    QVERIFY(QFile::copy(QString::fromStdString(kClip), path));
    QtAudioPlayer player;
    QCOMPARE(ErrorOf([&] { OpenAndPlay(player, path.toStdString()); }), kNoError);
    QVERIFY(player.IsPlaying());
  }

  void clipPlaysToTheEndAndStaysOpen() {
    QtAudioPlayer player;
    QSignalSpy finished(&player, &QtAudioPlayer::PlaybackFinished);
    QElapsedTimer clock;
    clock.start();
    OpenAndPlay(player, kClip);
    QVERIFY(finished.wait(kFinishWithinMs));
    const qint64 elapsed = clock.elapsed();
    qInfo("The clip played through in %lld ms", static_cast<long long>(elapsed));
    QVERIFY2(elapsed >= kClipMs * 8 / 10, "finished before the clip could have been heard");
    QCOMPARE(finished.count(), 1);

    QVERIFY(player.IsOpen());
    QVERIFY(!player.IsPlaying());
    QCOMPARE(ErrorOf([&] { player.Stop(); }), kNoError);
    QCOMPARE(ErrorOf([&] { player.Stop(); }), kNoError);
  }

  void playAtTheEndStartsOver() {
    QtAudioPlayer player;
    QSignalSpy finished(&player, &QtAudioPlayer::PlaybackFinished);
    OpenAndPlay(player, kClip);
    QVERIFY(finished.wait(kFinishWithinMs));

    player.Play();
    QVERIFY(player.IsPlaying());
    QTRY_VERIFY2_WITH_TIMEOUT(player.PositionMs() < kClipMs / 2,
                              "the replay did not start from the beginning", kClipMs / 4);
    QVERIFY(finished.wait(kFinishWithinMs));
  }

  void stopEndsPlaybackAndKeepsTheFileOpen() {
    QtAudioPlayer player;
    QSignalSpy finished(&player, &QtAudioPlayer::PlaybackFinished);
    OpenAndPlay(player, kClip);
    QTest::qWait(200);
    player.Stop();
    QVERIFY(!player.IsPlaying());
    player.Stop();
    QVERIFY(!finished.wait(kClipMs + 500));

    player.Play();  // still open: plays again
    QVERIFY(player.IsPlaying());
    QVERIFY(finished.wait(kFinishWithinMs));
  }

  void secondOpenRestartsFromTheBeginning() {
    QtAudioPlayer player;
    QSignalSpy finished(&player, &QtAudioPlayer::PlaybackFinished);
    OpenAndPlay(player, kClip);
    QTest::qWait(kClipMs / 2);
    QVERIFY(player.IsPlaying());

    QVERIFY(player.PositionMs() >= kClipMs / 4);
    OpenAndPlay(player, kClip);  // the same file again
    // Timing under a loaded machine is unreliable; where playback stands is not.
    QVERIFY2(player.PositionMs() < kClipMs / 4, "the second open resumed instead of restarting");
    QVERIFY(finished.wait(kFinishWithinMs));
    QTest::qWait(300);
    QCOMPARE(finished.count(), 1);  // the first playback never finished
  }

  void unplayableFileFailsOpenAndLeavesThePlayerClosed_data() {
    QTest::addColumn<bool>("makeFolder");
    QTest::addColumn<QByteArray>("content");  // null: no file is made
    QTest::addColumn<QString>("reason");      // part of the error text; empty: any reason
    QTest::newRow("missing file") << false << QByteArray() << "does not exist";
    QTest::newRow("text named .mp3") << false << QByteArray("just some text\r\n") << "";
    QTest::newRow("empty file") << false << QByteArray("") << "";
    QTest::newRow("folder named .mp3") << true << QByteArray() << "not a file";
  }

  void unplayableFileFailsOpenAndLeavesThePlayerClosed() {
    QFETCH(bool, makeFolder);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("clip.mp3");
    if (makeFolder) {
      QVERIFY(QDir(dir.path()).mkdir("clip.mp3"));
    } else if (!content.isNull()) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      QCOMPARE(file.write(content), content.size());
    }

    // A clip is playing when the next open fails: it must end with the failed open.
    QtAudioPlayer player;
    QSignalSpy finished(&player, &QtAudioPlayer::PlaybackFinished);
    OpenAndPlay(player, kClip);
    player.SetFileName(path.toStdString());
    const QString text = ErrorOf([&] { player.Open(); });
    const QString prefix = "Cannot open file \"" + path + "\". ";
    QVERIFY2(text.startsWith(prefix) && text.size() > prefix.size(), qPrintable(text));
    if (!reason.isEmpty()) QVERIFY2(text.contains(reason), qPrintable(text));

    QVERIFY(!player.IsOpen());
    QVERIFY(!player.IsPlaying());
    QCOMPARE(ErrorOf([&] { player.Play(); }), kNoDeviceOpen);
    QCOMPARE(ErrorOf([&] { player.Stop(); }), kNoDeviceOpen);
    QVERIFY(!finished.wait(kClipMs + 500));

    // The player is usable again afterwards.
    OpenAndPlay(player, kClip);
    QVERIFY(player.IsPlaying());
  }

  // An input's test through the real player: each clip is opened when the one before it has
  // played to its end, in play order, pass after pass, and the playback then ends by itself.
  void sequencePlaysClipAfterClipToItsEnd() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const char* copy : {"001.mp3", "002.mp3"}) {
      QVERIFY(QFile::copy(QString::fromStdString(kClip), dir.filePath(copy)));
    }
    QtAudioPlayer real;
    OpenedNames player(real);
    SequencePlayback playback(player);
    InputSequence sequence;
    sequence.Input = "DI1";
    sequence.Clips = {2, 1};
    sequence.Repeat = 2;
    for (int pass = 1; pass <= 2; ++pass) {
      for (int clip : sequence.Clips) {
        SequenceSegment segment;
        segment.Clip = clip;
        segment.Pass = pass;
        sequence.Segments.push_back(segment);
      }
    }
    playback.Start(sequence, QDir(dir.path()).absolutePath().toStdString() + "/");
    QTRY_VERIFY_WITH_TIMEOUT(!playback.Playing(), 4 * kFinishWithinMs);
    QCOMPARE(QString::fromStdString(playback.Failure()), QString());
    QCOMPARE(player.names, (QStringList{"002.mp3", "001.mp3", "002.mp3", "001.mp3"}));
  }

 private:
  // Passes everything to the real player and keeps the names of the files opened.
  struct OpenedNames final : AudioPlayer {
    explicit OpenedNames(QtAudioPlayer& player) : real(player) {}
    void SetFileName(const std::string& path) override {
      names << QFileInfo(QString::fromStdString(path)).fileName();
      real.SetFileName(path);
    }
    void Open() override { real.Open(); }
    void Play() override { real.Play(); }
    void Stop() override { real.Stop(); }
    void Close() override { real.Close(); }
    void SetFinishedHandler(std::function<void()> handler) override {
      real.SetFinishedHandler(std::move(handler));
    }
    QtAudioPlayer& real;
    QStringList names;
  };
};

}  // namespace pwx

QTEST_GUILESS_MAIN(pwx::QtAudioPlayerTest)
#include "QtAudioPlayerTest.moc"
