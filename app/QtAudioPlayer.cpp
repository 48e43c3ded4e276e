#include "app/QtAudioPlayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>

#include "common/EditorError.h"

namespace pwx {

namespace {

bool IsLoaded(QMediaPlayer::MediaStatus status) {
  return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::BufferingMedia ||
         status == QMediaPlayer::BufferedMedia;
}

}  // namespace

void QtAudioPlayer::PreferGStreamerBackend() {
#ifdef Q_OS_LINUX
  if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
#endif
}

QtAudioPlayer::QtAudioPlayer(QObject* parent) : QObject(parent) {
  PreferGStreamerBackend();
  player_ = new QMediaPlayer(this);
  // Without an audio output the GStreamer pipeline has no sink to pace it and a clip never
  // plays through; on a machine without a sound card the output falls back to a silent sink
  // that still keeps real time.
  output_ = new QAudioOutput(player_);
  player_->setAudioOutput(output_);
  connect(player_, &QMediaPlayer::mediaStatusChanged, this,
          [this](QMediaPlayer::MediaStatus status) {
            if (open_ && status == QMediaPlayer::EndOfMedia) emit PlaybackFinished();
          });
  connect(this, &QtAudioPlayer::PlaybackFinished, this, [this] {
    if (finished_) finished_();
  });
}

void QtAudioPlayer::SetFinishedHandler(std::function<void()> handler) {
  finished_ = std::move(handler);
}

QtAudioPlayer::~QtAudioPlayer() {
  Close();
}

void QtAudioPlayer::SetFileName(const std::string& path) {
  fileName_ = path;
}

void QtAudioPlayer::Open() {
  Close();
  const QString path = QString::fromStdString(fileName_);
  const QFileInfo file(path);
  if (!file.exists()) FailOpen(path, QStringLiteral("The file does not exist."));
  if (!file.isFile()) FailOpen(path, QStringLiteral("It is not a file."));

  QString failure;
  const auto onError = connect(player_, &QMediaPlayer::errorOccurred, this,
                               [&failure](QMediaPlayer::Error, const QString& text) {
                                 failure = text.isEmpty() ? QStringLiteral("Unknown error.") : text;
                               });
  player_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
  const bool settled = WaitUntil([this, &failure] {
    const auto status = player_->mediaStatus();
    return !failure.isEmpty() || status == QMediaPlayer::InvalidMedia || IsLoaded(status);
  });
  disconnect(onError);

  if (failure.isEmpty() && !IsLoaded(player_->mediaStatus())) {
    if (!settled) {
      failure = QStringLiteral("The media service did not answer within %1 seconds.")
                    .arg(kWaitLimitMs / 1000);
    } else {
      failure = player_->errorString();
      if (failure.isEmpty()) failure = QStringLiteral("The file cannot be played.");
    }
  }
  if (!failure.isEmpty()) {
    player_->setSource(QUrl());
    FailOpen(path, failure);
  }
  open_ = true;
}

void QtAudioPlayer::Play() {
  RequireOpen();
  if (player_->mediaStatus() == QMediaPlayer::EndOfMedia) player_->setPosition(0);
  player_->play();
}

void QtAudioPlayer::Stop() {
  RequireOpen();
  player_->stop();
  WaitUntil([this] { return player_->playbackState() == QMediaPlayer::StoppedState; });
}

void QtAudioPlayer::Close() {
  open_ = false;
  if (player_->source().isEmpty()) return;
  player_->stop();
  player_->setSource(QUrl());
}

bool QtAudioPlayer::HasAudioOutput() {
  return !QMediaDevices::audioOutputs().isEmpty();
}

bool QtAudioPlayer::IsPlaying() const {
  return player_->playbackState() == QMediaPlayer::PlayingState;
}

qint64 QtAudioPlayer::PositionMs() const {
  return player_->position();
}

void QtAudioPlayer::RequireOpen() const {
  if (!open_) throw EditorError(kNoDeviceOpenText);
}

bool QtAudioPlayer::WaitUntil(const std::function<bool()>& done) {
  if (done()) return true;
  QEventLoop loop;
  const auto check = [&loop, &done] {
    if (done()) loop.quit();
  };
  connect(player_, &QMediaPlayer::mediaStatusChanged, &loop, check);
  connect(player_, &QMediaPlayer::playbackStateChanged, &loop, check);
  connect(player_, &QMediaPlayer::errorOccurred, &loop, check);
  QTimer::singleShot(kWaitLimitMs, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  return done();
}

void QtAudioPlayer::FailOpen(const QString& path, const QString& reason) {
  open_ = false;
  throw EditorError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason).toStdString());
}

}  // namespace pwx
