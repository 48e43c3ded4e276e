#pragma once

#include <cstddef>
#include <vector>

namespace pwx {

// Where a channel of a sound file is meant to be played.
enum class SpeakerPlace {
  FrontLeft,
  FrontRight,
  FrontCentre,
  LowFrequency,
  SurroundLeft,  // side or back left
  SurroundRight,
  BackCentre,
  Other,  // overhead, ambisonic or unnamed
};

// The places of a file's channels when the file does not name them: the usual order of
// WAV files (3: L R C; 4: L R Ls Rs; 5: L R C Ls Rs; 6: L R C LFE Ls Rs; 7: L R C LFE Cs Ls Rs;
// 8: L R C LFE Lb Rb Ls Rs), and Other for any channel beyond eight.
std::vector<SpeakerPlace> UsualPlaces(int channels);

// Mixes many channels into two with the usual downmix matrix: front channels to their side,
// centre and surround channels at -3 dB to their side (centre to both), back centre at -6 dB
// to both, the low-frequency channel left out. The matrix is scaled so that no output can
// pass full scale when no input does: a downmix never clips.
class StereoDownmix {
 public:
  explicit StereoDownmix(const std::vector<SpeakerPlace>& places);

  // Mixes `frames` frames of interleaved input into `2 * frames` interleaved stereo samples.
  void Mix(const float* input, std::size_t frames, float* stereo) const;

 private:
  std::vector<float> left_;  // each input channel's weight in the left output
  std::vector<float> right_;
};

}  // namespace pwx
