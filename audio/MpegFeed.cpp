#include "audio/MpegFeed.h"

#include <mutex>
#include <string>

#include "common/EditorError.h"

namespace pwx {

mpg123_handle* NewMpegFeed(int encoding, long extraFlags) {
  static std::once_flag started;
  std::call_once(started, [] { mpg123_init(); });
  int error = MPG123_OK;
  mpg123_handle* handle = mpg123_new(nullptr, &error);
  if (!handle) {
    throw EditorError(std::string("The MPEG audio decoder cannot start: ") +
                      mpg123_plain_strerror(error));
  }
  mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | extraFlags, 0);
  // Damage in the middle of a clip is passed over to the frames after it, however long.
  mpg123_param(handle, MPG123_RESYNC_LIMIT, -1, 0);
  mpg123_format_none(handle);
  const long* rates = nullptr;
  std::size_t count = 0;
  mpg123_rates(&rates, &count);
  for (std::size_t i = 0; i < count; ++i) {
    mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, encoding);
  }
  mpg123_open_feed(handle);
  return handle;
}

}  // namespace pwx
