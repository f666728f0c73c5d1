#include "tests/cli/cli_process.h"

#include <sys/wait.h>

#include <cstdlib>

#include "tests/support/temp_dir.h"

namespace tarnlow::test {

namespace {

// One shell word whatever `text` holds: quotes, commas and spaces included.
std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

CliRun RunCliProcess(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                     const std::filesystem::path& program) {
  std::string command = Quoted(program.string());
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " >" + Quoted((scratch / "cli-stdout.txt").string()) + " 2>" + Quoted((scratch / "cli-stderr.txt").string());
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileText(scratch / "cli-stdout.txt"),
          ReadFileText(scratch / "cli-stderr.txt")};
}

}  // namespace tarnlow::test
