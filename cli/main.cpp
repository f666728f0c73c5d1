// tarnlow-cli: the headless companion of the window, over the same core.

#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char* argv[]) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const std::filesystem::path folder = tarnlow::cli::ProgramFolder(argc > 0 ? argv[0] : nullptr);
  const int status = tarnlow::cli::RunCli(args, std::cout, std::cerr, folder);
  std::cout.flush();
  return status;
}
