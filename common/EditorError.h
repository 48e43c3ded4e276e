#pragma once

#include <stdexcept>
#include <string>

namespace pwx {

// The one error type of the core. Its text is what the user reads in the error box,
// so it is always a finished sentence such as "'x' is not a valid integer value".
class EditorError : public std::runtime_error {
 public:
  explicit EditorError(const std::string& userText) : std::runtime_error(userText) {}
};

}  // namespace pwx
