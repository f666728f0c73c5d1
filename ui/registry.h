#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace tarnlow::ui {

// Registry roots and value types by their Win32 numbers.
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;
// Query, set, create-subkey, enumerate, notify, create-link and read-control.
inline constexpr std::uint32_t kKeyAccessMask = 0x2003Fu;

using RegistryKey = std::uintptr_t;

// What a value query found: its type and how many bytes it stored.
struct RegistryValueInfo {
  std::uint32_t type = 0;
  std::size_t size = 0;
};

// The three registry calls the About box needs, in their Win32 shape.
class RegistryReader {
 public:
  virtual ~RegistryReader() = default;
  // Opens `keyName` under `root`. Nothing when the key is missing or the
  // access is refused.
  virtual std::optional<RegistryKey> OpenKey(std::uint32_t root, const std::string& keyName,
                                             std::uint32_t access) = 0;
  // Copies value `valueName` into `buffer`. Nothing when the value is
  // missing or longer than the buffer.
  virtual std::optional<RegistryValueInfo> QueryValue(RegistryKey key, const std::string& valueName,
                                                      std::span<std::uint8_t> buffer) = 0;
  virtual void CloseKey(RegistryKey key) = 0;
};

// Reads one registry value as text into `keyVal`: a string value as stored
// (a trailing zero byte dropped), a 32-bit value as "&h" and the hex digits of
// its bytes from the last to the first; any other type leaves `keyVal` as
// passed. Returns false, with `keyVal` empty, when the key cannot be opened or
// the value cannot be read, is longer than 1024 bytes or has no bytes at all.
bool GetKeyValue(RegistryReader& registry, std::uint32_t keyRoot, const std::string& keyName,
                 const std::string& subKeyRef, std::string& keyVal);

// The system's registry on Windows. Elsewhere a stand-in that holds one
// value, the MSINFO "PATH", naming a system-information program found on
// PATH, or nothing at all when none is installed.
std::unique_ptr<RegistryReader> MakeSystemRegistry();

}  // namespace tarnlow::ui
