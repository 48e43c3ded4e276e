#include "audio/ClipBytes.h"

#include <algorithm>

namespace pwx {

namespace {

constexpr std::size_t kWindowBytes = 64 * 1024;

}  // namespace

std::string_view MemoryBytes::Read(std::uint64_t from, std::size_t length) {
  return from >= bytes_.size() ? std::string_view()
                               : bytes_.substr(static_cast<std::size_t>(from), length);
}

std::string_view FileBytes::Read(std::uint64_t from, std::size_t length) {
  if (from >= file_.Size()) return {};
  length = static_cast<std::size_t>(std::min<std::uint64_t>(length, file_.Size() - from));
  const bool held = from >= windowStart_ && from + length <= windowStart_ + windowBytes_;
  if (!held) {
    const auto wanted = static_cast<std::size_t>(
        std::min<std::uint64_t>(std::max(length, kWindowBytes), file_.Size() - from));
    if (window_.size() < wanted) window_.resize(wanted);
    if (from != position_) file_.Seek(from);
    std::size_t got = 0;
    while (got < wanted) {
      const std::size_t piece = file_.Read(window_.data() + got, wanted - got);
      if (piece == 0) break;
      got += piece;
    }
    position_ = from + got;
    windowStart_ = from;
    windowBytes_ = got;
  }
  const auto at = static_cast<std::size_t>(from - windowStart_);
  return {window_.data() + at, std::min(length, windowBytes_ - at)};
}

}  // namespace pwx
