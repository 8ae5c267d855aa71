#include "support/fresh_process.hpp"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

// The class-wide "pictures loaded" flags hold for the whole process, so a
// test that needs them clear runs itself again in a new process of this
// binary when an earlier test here has set them.
namespace fresh_process {
// Runs the current test alone in a new process, with `extraEnv` added to the
// environment; returns its exit status (-1 when it could not run).
int RunThisTestAgain(const std::vector<std::string>& extraEnv) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string filter = std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();
  std::string exe = "/proc/self/exe";
  char* argv[] = {exe.data(), filter.data(), nullptr};
  std::vector<std::string> env(extraEnv);
  std::vector<char*> envp;
  for (char** e = environ; *e; ++e) envp.push_back(*e);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}
}  // namespace fresh_process

