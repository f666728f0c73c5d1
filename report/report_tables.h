#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "report/report.h"

namespace tarnlow {

// The two rules that frame the report's blocks.
inline constexpr std::string_view kEqualsRule = "=============================================================";
inline constexpr std::string_view kDashRule = "-------------------------------------------------------------";
static_assert(kEqualsRule.size() == 61 && kDashRule.size() == 61);

// The comma-separated tables of the detailed report. Each writes its header
// line and one row per record; only the mesh table writes its own dash rule
// (its section has one before it already). Rows stop
// at the shorter of the count and the array, so a document whose counts
// disagree with its arrays never leads to a read past an array.

void AddMeshPointerTable(ReportBuilder& report, const WadDocument& document);
void AddAnimationTable(ReportBuilder& report, const WadDocument& document);
void AddStateChangeTable(ReportBuilder& report, const WadDocument& document);
void AddDispatchTable(ReportBuilder& report, const WadDocument& document);
void AddCommandTable(ReportBuilder& report, const WadDocument& document);
// The decoded meshes with their vertices and normals; nothing when
// MeshRecords is empty.
void AddMeshTable(ReportBuilder& report, const std::vector<MeshRecord>& meshes);

// Rows a table prints for a list of `arraySize` records said to hold `count`:
// 0 for a count of 0 or less, never more than the array holds.
inline std::size_t TrustedCount(std::int64_t count, std::size_t arraySize) {
  if (count <= 0) return 0;
  return static_cast<std::uint64_t>(count) < arraySize ? static_cast<std::size_t>(count) : arraySize;
}

// Lines the mesh table adds for `meshes`, for reserving.
std::size_t MeshTableLineCount(const std::vector<MeshRecord>& meshes);

}  // namespace tarnlow
