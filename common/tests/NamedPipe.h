#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>
#include <stdexcept>
#include <string>

namespace pwx::testing {

// Makes a named pipe; nothing ever writes to it, so a plain open or read of it waits for good.
inline void MakeNamedPipe(const std::string& path) {
  if (mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("mkfifo " + path);
}

// Runs `action` on its own thread and says whether it returned within two seconds. When it
// did not, it is stuck on the pipe: a writer comes and goes so that it ends, and the answer
// is false.
inline bool ReturnsWithoutWaitingOn(const std::string& pipe, const std::function<void()>& action) {
  auto done = std::async(std::launch::async, action);
  if (done.wait_for(std::chrono::seconds(2)) == std::future_status::ready) {
    done.get();
    return true;
  }
  const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
  if (writer >= 0) ::close(writer);
  done.wait();
  return false;
}

}  // namespace pwx::testing
