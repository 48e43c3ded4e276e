#pragma once

#include <functional>
#include <string>

namespace pwx {

inline constexpr const char* kNoDeviceOpenText = "No MCI device open";

// The platform's media player, at most one file open at a time.
class AudioPlayer {
 public:
  virtual ~AudioPlayer() = default;

  // The full path of the file to open next.
  virtual void SetFileName(const std::string& path) = 0;

  // Closes any open file, opens the file named last and waits until the open has completed.
  // Raises EditorError with the platform's description when it fails; the player is then
  // closed.
  virtual void Open() = 0;

  // Starts playback from the current position (from the beginning after an open or at the
  // end) and returns at once. Raises "No MCI device open" without an open file.
  virtual void Play() = 0;

  // Stops playback and waits until stopped; the file stays open. Raises
  // "No MCI device open" without an open file.
  virtual void Stop() = 0;

  // Closes the open file, if any. Never fails.
  virtual void Close() = 0;

  // Whether the system has an audio output to play to; without one a clip would play to
  // nobody.
  virtual bool HasAudioOutput() { return true; }

  // What to call, on the thread that runs the player, when playback of the open file reaches
  // its end; an empty function for nothing. A player that cannot tell calls nothing.
  virtual void SetFinishedHandler(std::function<void()> handler) { (void)handler; }
};

}  // namespace pwx
