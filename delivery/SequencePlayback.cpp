#include "delivery/SequencePlayback.h"

#include "audio/ClipFiles.h"
#include "common/EditorError.h"
#include "common/IntegerText.h"

namespace pwx {

SequencePlayback::SequencePlayback(AudioPlayer& player) : player_(player) {
  player_.SetFinishedHandler([this] { ClipFinished(); });
}

SequencePlayback::~SequencePlayback() {
  player_.SetFinishedHandler({});
}

void SequencePlayback::Start(const InputSequence& sequence, const std::string& workDir) {
  if (!sequence.Plays()) throw EditorError(sequence.Problems.front());
  if (sequence.Segments.empty()) throw EditorError(sequence.Input + " has no clip to play.");
  sequence_ = sequence;
  workDir_ = workDir;
  failure_.clear();
  segment_ = 0;
  PlaySegment();
}

void SequencePlayback::PlaySegment() {
  const SequenceSegment& segment = sequence_.Segments[static_cast<std::size_t>(segment_)];
  try {
    player_.SetFileName(ProjectCopyPath(workDir_, segment.Clip));
    player_.Open();
    player_.Play();
  } catch (const EditorError&) {
    segment_ = -1;
    throw;
  }
}

void SequencePlayback::ClipFinished() {
  if (!Playing()) return;
  if (static_cast<std::size_t>(segment_ + 1) >= sequence_.Segments.size()) {
    segment_ = -1;
    return;
  }
  ++segment_;
  try {
    PlaySegment();
  } catch (const EditorError& error) {
    // Called from the player's notice, which cannot take an error: it is kept to be shown.
    failure_ = error.what();
  }
}

void SequencePlayback::Stop() {
  const bool was = Playing();
  segment_ = -1;
  if (was) player_.Stop();
}

std::string SequencePlayback::StatusText() const {
  if (!Playing()) return {};
  const SequenceSegment& s = sequence_.Segments[static_cast<std::size_t>(segment_)];
  return "Test " + InputShortName(sequence_.Input) + ": pass " + std::to_string(s.Pass) + " of " +
         std::to_string(sequence_.Repeat) + ", #" + std::to_string(s.Choice) + " " +
         ThreeDigits(s.Clip) + " " + s.Name;
}

}  // namespace pwx
