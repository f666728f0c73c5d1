// tarnlow-cli: the headless companion of the window, over the same core.

#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"

int main(int argc, char* argv[]) {
  tarnlow::cli::UseBinaryStandardStreams();
  const std::vector<std::string> args = tarnlow::cli::Utf8Arguments(argc, argv);
  const std::filesystem::path folder = tarnlow::cli::ProgramFolder(argc > 0 ? argv[0] : nullptr);
  const int status = tarnlow::cli::RunCli(args, std::cout, std::cerr, folder, tarnlow::cli::StderrIsTerminal());
  std::cout.flush();
  return status;
}
