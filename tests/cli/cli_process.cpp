#include "tests/cli/cli_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

extern char** environ;

namespace tarnlow::test {

namespace {

std::string readText(const std::filesystem::path& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

}  // namespace

std::filesystem::path CliPath() { return TARNLOW_CLI_PATH; }

CliRun RunCliProcess(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                     const std::filesystem::path& program) {
  const std::filesystem::path outPath = scratch / "cli-stdout.txt";
  const std::filesystem::path errPath = scratch / "cli-stderr.txt";
  std::vector<std::string> argvText = {program.string()};
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argvText) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  CliRun run;
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << program << ": error " << spawned;
    return run;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
  run.out = readText(outPath);
  run.err = readText(errPath);
  return run;
}

}  // namespace tarnlow::test
