// Runs a program as a child process and collects its exit code, standard output and standard
// error, for tests of the command-line program.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <string>
#include <vector>

extern char** environ;

namespace tarnwick::test {

struct ProcessResult {
  int exitCode = -1;  // the exit status, or 128 + signal number
  std::string out;
  std::string err;
};

inline ProcessResult RunProcess(const std::vector<std::string>& argv) {
  ProcessResult result;
  int outPipe[2], errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
    return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  std::vector<char*> args;
  for (const auto& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  if (spawned == 0) {
    std::array<pollfd, 2> fds{{{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}}};
    std::array<std::string*, 2> sinks{&result.out, &result.err};
    int open = 2;
    char buf[65536];
    while (open > 0 && poll(fds.data(), fds.size(), -1) > 0) {
      for (size_t i = 0; i < fds.size(); ++i) {
        if (fds[i].fd < 0 || fds[i].revents == 0)
          continue;
        const ssize_t n = read(fds[i].fd, buf, sizeof buf);
        if (n > 0) {
          sinks[i]->append(buf, static_cast<size_t>(n));
        } else {
          fds[i].fd = -1;
          --open;
        }
      }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  close(outPipe[0]);
  close(errPipe[0]);
  return result;
}

}  // namespace tarnwick::test
