#pragma once

#include <span>
#include <string>
#include <vector>

#include "cli/cli_support.h"

namespace tarnlow::cli {

// One subcommand of tarnlow-cli.
struct Command {
  const char* name;     // what the user types: "objects"
  const char* usage;    // its arguments: "objects [--names FILE] WAD"
  const char* summary;  // what it does, for help; may span several lines
  int (*run)(const CommandContext& context);  // returns the exit status
};

// Every subcommand, in the order help lists them.
std::span<const Command> Commands();

// Prints what tarnlow-cli does, every command and the exit statuses.
void PrintHelp(std::ostream& out);

// Runs the command named by args[0] with the rest of args. Returns its exit
// status; kExitUsage (with a message on err) for a missing or unknown command.
// `errIsTerminal` lets long commands show their progress on err.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::filesystem::path& programFolder, bool errIsTerminal = false);

}  // namespace tarnlow::cli
