// Builds the object-name file TR4Objects.dat from the name tables kept in
// this folder, with the same writer the program's tests read back.
//
// Usage: tarnlow-make-names <moveables.tsv> <lara_meshes.tsv> <statics.tsv> <out.dat>
// Each table line is "id<TAB>NAME" with a non-negative decimal id.

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "wad/object_names.h"
#include "wad/object_names_file.h"

namespace {

using Table = std::vector<std::pair<std::int32_t, std::string>>;

// Reads "id<TAB>NAME" lines in file order. Blank lines are skipped; anything
// else that is not a line of that form stops the build.
Table readTable(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": cannot be opened");
  Table table;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::string where = path + ":" + std::to_string(number) + ": ";
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0 || tab + 1 == line.size() || line.find('\t', tab + 1) != std::string::npos) {
      throw std::runtime_error(where + "expected \"id<TAB>NAME\", got \"" + line + "\"");
    }
    std::int32_t id = 0;
    const char* first = line.data();
    const char* last = line.data() + tab;
    const auto [end, error] = std::from_chars(first, last, id);
    if (error != std::errc{} || end != last || id < 0) {
      throw std::runtime_error(where + "the id \"" + line.substr(0, tab) + "\" is not a non-negative number");
    }
    table.emplace_back(id, line.substr(tab + 1));
  }
  return table;
}

// Names placed at their ids; a gap stays an empty string, ids at or above
// `rows` are left out because the reading program has no row for them.
std::vector<std::string> byId(const Table& table, std::size_t rows) {
  std::vector<std::string> names;
  for (const auto& [id, name] : table) {
    const auto row = static_cast<std::size_t>(id);
    if (row >= rows) continue;
    if (row >= names.size()) names.resize(row + 1);
    names[row] = name;
  }
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: " << argv[0] << " <moveables.tsv> <lara_meshes.tsv> <statics.tsv> <out.dat>\n";
    return 2;
  }
  try {
    using tarnlow::ObjectNameTables;
    tarnlow::ObjectNamesFileContent content;
    content.objectNames = byId(readTable(argv[1]), ObjectNameTables::kRows);
    content.meshNames = byId(readTable(argv[2]), ObjectNameTables::kMeshNames);
    for (const auto& [id, name] : readTable(argv[3])) content.section3.emplace_back(name, id);
    if (content.section3.size() > static_cast<std::size_t>(ObjectNameTables::kRows)) {
      throw std::runtime_error(std::string(argv[3]) + ": more than " + std::to_string(ObjectNameTables::kRows) +
                               " statics, which the name table cannot hold");
    }
    tarnlow::WriteObjectNames(argv[4], content);
  } catch (const std::exception& e) {
    std::cerr << "tarnlow-make-names: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
