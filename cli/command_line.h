#pragma once

#include <string>
#include <vector>

namespace tarnlow::cli {

// The program's arguments after its own name, as UTF-8. On Windows they are
// taken from the wide command line, so that a file name with characters
// outside the ANSI code page arrives whole; elsewhere they are argv as given.
// An argument that cannot be converted arrives empty.
std::vector<std::string> Utf8Arguments(int argc, char* argv[]);

// Puts standard output and standard error in binary mode, so that the bytes
// written are the bytes that arrive: no line feed becomes CR LF. Does
// nothing where the streams have no text mode.
void UseBinaryStandardStreams();

// True when standard error is a terminal (a console on Windows), where a
// progress line helps; false for a pipe or a file.
bool StderrIsTerminal();

}  // namespace tarnlow::cli
