#pragma once

#include <filesystem>
#include <string>

#include "report/report.h"
#include "wad/wad_document.h"

namespace tarnlow::test {

// The document behind the golden reports: several records in every table,
// negative fields, bytes above 127, a negative mesh pointer. No decoded
// meshes, so that a WAD file written from it reports the same text.
WadDocument GoldenDocument();

// Title "golden", the length of GoldenDocument's file bytes, and a clock
// fixed at 2024/03/05 14:05:09: what `report --at "2024-03-05 14:05:09"`
// gives for golden.wad.
ReportContext GoldenContext();

// Expects the file at `path` to hold exactly `actual`. With
// TARNLOW_UPDATE_GOLDEN=1 set, rewrites the file instead, after a deliberate
// change; the diff of the golden files is then what a reviewer reads.
void ExpectGoldenFile(const std::filesystem::path& path, const std::string& actual);

}  // namespace tarnlow::test
