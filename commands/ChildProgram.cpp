#include "commands/ChildProgram.h"

#include <cerrno>

#include "common/FileSystem.h"

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pwx {

#ifdef _WIN32

ChildRun RunChildProgram(const std::string&, const std::vector<std::string>&, const std::string&) {
  ChildRun run;
  run.WhyNotStarted = "child programs are not run on this platform";
  return run;
}

#else

namespace {

struct Pipe {
  int Read = -1, Write = -1;
  bool Open() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    Read = ends[0];
    Write = ends[1];
    return true;
  }
  static void Close(int& end) {
    if (end >= 0) close(end);
    end = -1;
  }
  ~Pipe() {
    Close(Read);
    Close(Write);
  }
};

// Feeds the child's input and drains its two outputs at once, so that neither side waits
// on a full pipe.
void Exchange(Pipe& in, Pipe& out, Pipe& err, const std::string& input, ChildRun& run) {
  std::size_t written = 0;
  if (input.empty()) Pipe::Close(in.Write);
  char buffer[65536];
  while (in.Write >= 0 || out.Read >= 0 || err.Read >= 0) {
    pollfd watched[3] = {{in.Write, POLLOUT, 0}, {out.Read, POLLIN, 0}, {err.Read, POLLIN, 0}};
    if (poll(watched, 3, -1) < 0) {
      if (errno == EINTR) continue;  // a signal: the command looks at its flag afterwards
      break;
    }
    if (in.Write >= 0 && (watched[0].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
      const ssize_t n = write(in.Write, input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 && errno != EINTR && errno != EAGAIN) written = input.size();  // it stopped reading
      if (written == input.size()) Pipe::Close(in.Write);
    }
    for (int which = 1; which <= 2; ++which) {
      Pipe& from = which == 1 ? out : err;
      if (from.Read < 0 || (watched[which].revents & (POLLIN | POLLERR | POLLHUP)) == 0) continue;
      const ssize_t n = read(from.Read, buffer, sizeof buffer);
      if (n > 0) {
        (which == 1 ? run.Out : run.Err).append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        Pipe::Close(from.Read);
      }
    }
  }
}

}  // namespace

ChildRun RunChildProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& input) {
  ChildRun run;
  Pipe in, out, err;
  if (!in.Open() || !out.Open() || !err.Open()) {
    run.WhyNotStarted = SystemReason(errno);
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.Read, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out.Write, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.Write, STDERR_FILENO);
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    run.WhyNotStarted = SystemReason(failed);
    return run;
  }
  run.Started = true;
  Pipe::Close(in.Read);
  Pipe::Close(out.Write);
  Pipe::Close(err.Write);
  // A child that stops reading must not end us by SIGPIPE: its write fails instead.
  struct sigaction ignore = {}, previous = {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGPIPE, &ignore, &previous);
  Exchange(in, out, err, input, run);
  sigaction(SIGPIPE, &previous, nullptr);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) run.ExitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.Signal = WTERMSIG(status);
  return run;
}

#endif

}  // namespace pwx
