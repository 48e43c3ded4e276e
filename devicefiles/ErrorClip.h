#pragma once

#include <cstddef>

namespace pwx {

// The "No content" clip (MPEG-1 Layer III, 44.1 kHz joint stereo, ~1 s, with
// an ID3v2.3 title tag) that every saved project carries as Err1.mp3. The
// bytes are compiled in from assets/err1/Err1.mp3; see the README there.
extern const unsigned char kErrorClip[];
extern const std::size_t kErrorClipSize;

}  // namespace pwx
