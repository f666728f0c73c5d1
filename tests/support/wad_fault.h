#pragma once

#include <string>
#include <utility>

#include "wad/wad_error.h"

namespace tarnlow::test {

// The error number and the section (the first word of where()) of the
// WadError that `run` throws; {0, ""} when it runs through.
template <typename Run>
std::pair<int, std::string> FaultOf(Run run) {
  try {
    run();
    return {0, ""};
  } catch (const WadError& e) {
    return {e.number(), e.where().substr(0, e.where().find(' '))};
  }
}

}  // namespace tarnlow::test
