#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wad/bytes.h"

namespace tarnlow::test {

// One 8-byte sound info as the .sfx stores it.
struct SfxInfo {
  std::uint16_t firstSample = 0;
  std::uint8_t volume = 0;
  std::uint8_t range = 0;
  std::uint8_t chance = 0;
  std::int8_t pitch = 0;
  std::uint16_t flags = 0;  // the sample count goes in bits 2-7
};

// The parts of a .sfx, each free to contradict the others.
struct SfxParts {
  std::vector<std::int16_t> map = std::vector<std::int16_t>(370, -1);
  std::vector<SfxInfo> infos;
  std::uint32_t sampleCount = 0;
  std::vector<std::uint32_t> sampleIndices;
  std::size_t trailingBytes = 0;  // bytes of 0xAB after the indices
  // When set, the info count stored instead of infos.size().
  std::int64_t infoCount = -1;
};

// The .sfx bytes of `parts`, cut to `keepBytes` when that is shorter.
Bytes SfxBytes(const SfxParts& parts, std::size_t keepBytes = SIZE_MAX);

// A well-formed table: slot s[i] plays counts[i] samples, infos and samples
// in canonical order, sample index k for sample k. `sam` receives the .sam
// text naming them "s<slot>_<n>.wav".
SfxParts CanonicalSfx(const std::vector<int>& slots, const std::vector<int>& counts, std::string& sam);

}  // namespace tarnlow::test
