#pragma once

#include <vector>

#include "anim/finding.h"
#include "wad/wad_document.h"

namespace tarnlow {

// The findings of `fresh` (checked in `freshDocument`) that `old` (checked
// in `oldDocument`) does not have: what merging objects into a WAD added.
// Findings are matched by the object they are about (its ObjectID, so that
// an object that moved in the list still matches), section, rule, severity
// and problem but for its numbers, never by record number; each finding of
// `old` matches at most one of `fresh`. Keeps `fresh`'s order. Never fails.
std::vector<Finding> FindingsNotIn(const WadDocument& freshDocument, const std::vector<Finding>& fresh,
                                   const WadDocument& oldDocument, const std::vector<Finding>& old);

}  // namespace tarnlow
