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

std::string TextOf(const std::filesystem::path& path) {
  const Bytes bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

CliRun RunCliProcess(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                     const std::filesystem::path& program) {
  std::string command = Quoted(program.string());
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " >" + Quoted((scratch / "cli-stdout.txt").string()) + " 2>" + Quoted((scratch / "cli-stderr.txt").string());
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TextOf(scratch / "cli-stdout.txt"), TextOf(scratch / "cli-stderr.txt")};
}

}  // namespace tarnlow::test
