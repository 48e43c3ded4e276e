#pragma once

#include <mpg123.h>

namespace pwx {

// A new libmpg123 decoder that is fed piece by piece: quiet, passing over damage however
// long, taking any rate in one or two channels, giving samples in `encoding`
// (MPG123_ENC_SIGNED_16, MPG123_ENC_FLOAT_32). The library is started on first use. Raises
// "The MPEG audio decoder cannot start: <reason>"; the caller deletes the handle.
mpg123_handle* NewMpegFeed(int encoding, long extraFlags = 0);

}  // namespace pwx
