// Runs the built tarnwick-cli as a child process that a test can interrupt while it runs, or whose
// stdout goes to a given file (plain runs use support/run_process.h).
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace tarnwick::test {

class CliProcess {
 public:
  // Starts tarnwick-cli with `args`. With `stdoutFile` its stdout goes to that file instead of
  // a pipe.
  explicit CliProcess(const std::vector<std::string>& args, const char* stdoutFile = nullptr) {
    int out[2] = {-1, -1};
    int err[2];
    if (stdoutFile == nullptr && pipe(out) != 0)
      return;
    if (pipe(err) != 0)
      return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFile != nullptr) {
      posix_spawn_file_actions_addopen(&actions, 1, stdoutFile, O_WRONLY, 0);
    } else {
      posix_spawn_file_actions_adddup2(&actions, out[1], 1);
      posix_spawn_file_actions_addclose(&actions, out[0]);
    }
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::vector<std::string> argv = {TARNWICK_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (auto& a : argv)
      cargv.push_back(a.data());
    cargv.push_back(nullptr);
    if (posix_spawn(&pid_, cargv[0], &actions, nullptr, cargv.data(), environ) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (out[1] >= 0)
      close(out[1]);
    close(err[1]);
    outFd_ = out[0];
    errFd_ = err[0];
  }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;
  ~CliProcess() {
    if (pid_ > 0)
      Wait();
  }

  pid_t pid() const { return pid_; }

  // Waits until the child has written something to stdout.
  void WaitForOutput() const {
    pollfd p{outFd_, POLLIN, 0};
    poll(&p, 1, 10000);
  }

  // Reads stdout and stderr to their end and returns the exit code (128 + signal when killed).
  int Wait() {
    std::vector<pollfd> fds;
    if (outFd_ >= 0)
      fds.push_back({outFd_, POLLIN, 0});
    fds.push_back({errFd_, POLLIN, 0});
    while (!fds.empty()) {
      poll(fds.data(), fds.size(), -1);
      for (size_t i = 0; i < fds.size();) {
        if (fds[i].revents == 0) {
          ++i;
          continue;
        }
        char buf[65536];
        const ssize_t n = read(fds[i].fd, buf, sizeof buf);
        if (n > 0) {
          (fds[i].fd == outFd_ ? out : err).append(buf, static_cast<size_t>(n));
          ++i;
        } else {
          close(fds[i].fd);
          fds.erase(fds.begin() + static_cast<long>(i));
        }
      }
    }
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  std::string out;
  std::string err;

 private:
  pid_t pid_ = -1;
  int outFd_ = -1;
  int errFd_ = -1;
};

}  // namespace tarnwick::test
