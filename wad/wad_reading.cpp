#include "wad/wad_reading.h"

#include <algorithm>
#include <utility>

namespace tarnlow {

namespace {

bool isEmptyBeforeStatics(const WadReading& reading, int s) {
  return s != kSectionStaticMeshes && reading.sections[static_cast<std::size_t>(s)].state == SectionState::Empty;
}

}  // namespace

bool WadReading::cutShort() const {
  return std::any_of(sections.begin(), sections.end(), [](const SectionReading& s) {
    return s.state == SectionState::Short || s.state == SectionState::Missing;
  });
}

bool WadReading::hasEmptySections() const {
  for (int s = 0; s < kWadSections; ++s) {
    if (isEmptyBeforeStatics(*this, s)) return true;
  }
  return false;
}

std::string DescribeReading(const WadReading& reading) {
  std::string empty, cut, missing;
  const auto add = [](std::string& list, const std::string& item) { list += (list.empty() ? "" : ", ") + item; };
  for (int s = 0; s < kWadSections; ++s) {
    const SectionReading& section = reading.sections[static_cast<std::size_t>(s)];
    const std::string name = kWadSectionNames[static_cast<std::size_t>(s)];
    if (isEmptyBeforeStatics(reading, s)) add(empty, name);
    if (section.state == SectionState::Short) {
      add(cut, name + " (" + std::to_string(section.held) + " of " + std::to_string(section.claimed) +
                   ", the file ends at byte " + std::to_string(reading.fileLength) + ")");
    }
    if (section.state == SectionState::Missing) add(missing, name);
  }
  std::string text;
  for (const auto& [label, list] : {std::pair{"empty: ", &empty}, {"short: ", &cut}, {"missing: ", &missing}}) {
    if (!list->empty()) text += (text.empty() ? "" : "; ") + std::string(label) + *list;
  }
  return text;
}

}  // namespace tarnlow
