// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs another program to its end, as the benchmarks compare Velmora with
// tools and time the built program; its output is thrown away.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace velmora::bench {

struct Finished {
  bool succeeded;  // exited with status 0
  rusage usage;    // the child's processor time and peak memory
};

// The program is looked up on PATH; none when it could not be started.
inline std::optional<Finished> RunToEnd(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return std::nullopt;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return std::nullopt;
  return Finished{WIFEXITED(status) && WEXITSTATUS(status) == 0, usage};
}

}  // namespace velmora::bench
