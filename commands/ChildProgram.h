#pragma once

#include <string>
#include <vector>

namespace pwx {

// How a program run as a child ended, and what it wrote.
struct ChildRun {
  bool Started = false;
  std::string WhyNotStarted;  // the system's reason, when it could not be started
  int ExitStatus = -1;        // when it exited
  int Signal = 0;             // when a signal ended it
  std::string Out, Err;
};

// Runs `program` with `arguments`, gives it `input` on its standard input and collects its
// standard output and error until it ends. Its other streams and its environment are ours.
ChildRun RunChildProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& input);

}  // namespace pwx
