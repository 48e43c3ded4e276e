#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "audio/AudioPlayer.h"

class QAudioOutput;
class QMediaPlayer;

namespace pwx {

// The audio player of the window: one QMediaPlayer with an audio output. Open, Stop and Close
// wait for the media service by running a local event loop that leaves user input queued, so
// the window cannot start a second command meanwhile but timers and media events go on.
class QtAudioPlayer : public QObject, public AudioPlayer {
  Q_OBJECT

 public:
  // How long Open and Stop wait for the media service before giving up.
  static constexpr int kWaitLimitMs = 10000;

  explicit QtAudioPlayer(QObject* parent = nullptr);
  ~QtAudioPlayer() override;

  void SetFileName(const std::string& path) override;
  void Open() override;
  void Play() override;
  void Stop() override;
  void Close() override;
  // Whether Qt Multimedia knows an audio output device.
  bool HasAudioOutput() override;
  // Called after PlaybackFinished.
  void SetFinishedHandler(std::function<void()> handler) override;

  bool IsOpen() const { return open_; }
  bool IsPlaying() const;
  // Where playback stands in the open file, in milliseconds.
  qint64 PositionMs() const;

  // On Linux, asks Qt Multimedia for its GStreamer backend unless QT_MEDIA_BACKEND already
  // names one: the FFmpeg backend crashes on a machine without a sound card. Qt picks the
  // backend once per process, when the first media object is made, so main() may call this
  // before anything else; the constructor calls it too.
  static void PreferGStreamerBackend();

 signals:
  // Playback reached the end of the open file. Nothing else changes: the file stays open.
  void PlaybackFinished();

 private:
  void RequireOpen() const;
  // Runs a local event loop until `done` holds (checked whenever the media player reports a
  // change) or kWaitLimitMs passes. True when `done` holds at the end.
  bool WaitUntil(const std::function<bool()>& done);
  [[noreturn]] void FailOpen(const QString& path, const QString& reason);

  std::string fileName_;
  QMediaPlayer* player_ = nullptr;
  QAudioOutput* output_ = nullptr;
  bool open_ = false;
  std::function<void()> finished_;
};

}  // namespace pwx
