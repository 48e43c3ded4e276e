#pragma once

#include <string>

#include "audio/AudioPlayer.h"
#include "delivery/InputSequence.h"

namespace pwx {

// Plays an input's sequence through the audio player as the player would: each segment's
// project copy opened and played when the one before it ends, pass after pass.
class SequencePlayback {
 public:
  // Takes the player's end-of-file notice for itself.
  explicit SequencePlayback(AudioPlayer& player);
  ~SequencePlayback();
  SequencePlayback(const SequencePlayback&) = delete;
  SequencePlayback& operator=(const SequencePlayback&) = delete;

  // Plays the sequence from its first segment. Raises the sequence's first problem when it
  // cannot play, "<input> has no clip to play" for a silent one, or the player's error (the
  // playback has ended then).
  void Start(const InputSequence& sequence, const std::string& workDir);
  // The open clip has ended: opens and plays the next segment, or ends after the last. When
  // the next cannot be played, the playback ends and Failure() says why.
  void ClipFinished();
  const std::string& Failure() const { return failure_; }
  // Stops the player and ends the playback. Raises the player's error.
  void Stop();
  // Ends the playback without touching the player (another command took it over).
  void Forget() { segment_ = -1; }

  bool Playing() const { return segment_ >= 0; }
  // The segment playing, -1 when none.
  int Segment() const { return segment_; }
  const InputSequence& Sequence() const { return sequence_; }
  // "Test DI1: pass 1 of 2, #1 004 Evacuate now"; empty when nothing plays.
  std::string StatusText() const;

 private:
  void PlaySegment();

  AudioPlayer& player_;
  InputSequence sequence_;
  std::string workDir_;
  int segment_ = -1;
  std::string failure_;
};

}  // namespace pwx
