// Work run in a child process, for tests of programs that use the store at the same time.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

// Runs work in a child process, which ends with 0 when work returned true.
inline pid_t InChild(const std::function<bool()>& work) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    bool done = false;
    try {
      done = work();
    } catch (...) {
    }
    _exit(done ? 0 : 1);
  }
  return child;
}

// The child's exit code; 128 and the signal when a signal ended it.
inline int ExitCode(pid_t child) {
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
