#pragma once

#include <string>
#include <utility>
#include <vector>

namespace pwx {

// The hidden trace of every flow: one line per event, no time stamp, no level.
// Nothing in the program reads it back; tests and the curious do.
class DiagnosticLog {
 public:
  void Append(std::string line) { lines_.push_back(std::move(line)); }
  const std::vector<std::string>& Lines() const { return lines_; }
  std::size_t Size() const { return lines_.size(); }

 private:
  std::vector<std::string> lines_;
};

}  // namespace pwx
