#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>

#include "wad/object_names.h"
#include "wad/wad_document.h"

namespace tarnlow::cli {

// The two lists a command line can pick from.
enum class SlotList { Objects, StaticMeshes };

// The name file every command reads by default: TR4Objects.dat beside the
// program. A missing or broken file gives the tables as far as they were
// read (no names at worst); never fails.
ObjectNameTables ProgramNameTables(const std::filesystem::path& programFolder);

// What `given` (the value of --object or --static) picks from `list`: a whole
// number is a place in the list ("--static 8"); anything else is a slot name
// of the name file, in any letter case ("--static ROCK0"). On failure says
// why on `err`, prefixed "<command>: ", and returns nothing: a place past the
// end of the list, a name no slot of the WAD has, or a name that several of
// its slots share (a hand-merged WAD), where the place must be given.
std::optional<std::size_t> ChooseSlot(const WadDocument& document, const ObjectNameTables& names, SlotList list,
                                      std::string_view given, std::string_view command, std::ostream& err);

}  // namespace tarnlow::cli
