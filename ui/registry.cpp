#include "ui/registry.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string_view>
#include <vector>

#include "wad/codepage.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdlib>
#include <filesystem>
#endif

namespace tarnlow::ui {

namespace {

constexpr std::size_t kValueBufferSize = 1024;

std::string HexOfBytesLastToFirst(std::span<const std::uint8_t> bytes) {
  // Two digits per byte, so that a byte below 16 keeps its place.
  std::string text = "&h";
  for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
    std::array<char, 3> digits{};
    std::snprintf(digits.data(), digits.size(), "%02X", static_cast<unsigned>(*it));
    text += digits.data();
  }
  return text;
}

#ifdef _WIN32

class Win32Registry : public RegistryReader {
 public:
  std::optional<RegistryKey> OpenKey(std::uint32_t root, const std::string& keyName, std::uint32_t access) override {
    const auto name = Utf8ToCp1252(keyName);
    if (!name) return std::nullopt;
    HKEY key = nullptr;
    const auto rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(root));
    if (RegOpenKeyExA(rootKey, name->c_str(), 0, access, &key) != ERROR_SUCCESS) return std::nullopt;
    return reinterpret_cast<RegistryKey>(key);
  }

  std::optional<RegistryValueInfo> QueryValue(RegistryKey key, const std::string& valueName,
                                              std::span<std::uint8_t> buffer) override {
    const auto name = Utf8ToCp1252(valueName);
    if (!name) return std::nullopt;
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(buffer.size());
    if (RegQueryValueExA(reinterpret_cast<HKEY>(key), name->c_str(), nullptr, &type, buffer.data(), &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    return RegistryValueInfo{type, size};
  }

  void CloseKey(RegistryKey key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

#else

// The first executable file called `program` in a folder of PATH; empty
// when there is none.
std::string findOnPath(const char* program) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path != nullptr ? path : "";
  while (!rest.empty()) {
    const std::size_t colon = std::min(rest.find(':'), rest.size());
    const std::filesystem::path candidate = std::filesystem::path(rest.substr(0, colon)) / program;
    rest.remove_prefix(std::min(colon + 1, rest.size()));
    std::error_code ec;
    const auto status = std::filesystem::status(candidate, ec);
    const auto exec = std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec |
                      std::filesystem::perms::others_exec;
    if (!ec && std::filesystem::is_regular_file(status) && (status.permissions() & exec) != std::filesystem::perms::none &&
        candidate.is_absolute()) {
      return candidate.string();
    }
  }
  return {};
}

// Stands in for the Windows registry: the one value the About box looks for
// first, answered with a system-information program of this system.
class StandInRegistry : public RegistryReader {
 public:
  StandInRegistry() {
    for (const char* program : {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"}) {
      const std::string found = findOnPath(program);
      if (!found.empty()) {
        const auto bytes = Utf8ToCp1252(found);
        if (!bytes) continue;
        path_.assign(bytes->begin(), bytes->end());
        path_.push_back(0);
        return;
      }
    }
  }

  std::optional<RegistryKey> OpenKey(std::uint32_t root, const std::string& keyName, std::uint32_t) override {
    if (root != kHkeyLocalMachine || path_.empty() || keyName != "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO") {
      return std::nullopt;
    }
    return RegistryKey{1};
  }

  std::optional<RegistryValueInfo> QueryValue(RegistryKey, const std::string& valueName,
                                              std::span<std::uint8_t> buffer) override {
    if (valueName != "PATH" || path_.size() > buffer.size()) return std::nullopt;
    std::copy(path_.begin(), path_.end(), buffer.begin());
    return RegistryValueInfo{kRegSz, path_.size()};
  }

  void CloseKey(RegistryKey) override {}

 private:
  std::vector<std::uint8_t> path_;
};

#endif

}  // namespace

bool GetKeyValue(RegistryReader& registry, std::uint32_t keyRoot, const std::string& keyName,
                 const std::string& subKeyRef, std::string& keyVal) {
  const auto key = registry.OpenKey(keyRoot, keyName, kKeyAccessMask);
  if (!key) {
    keyVal.clear();
    return false;
  }
  std::vector<std::uint8_t> buffer(kValueBufferSize, 0);
  const auto info = registry.QueryValue(*key, subKeyRef, buffer);
  // A value of no bytes has no last byte to look at: it fails like a missing one.
  if (!info || info->size == 0 || info->size > buffer.size()) {
    keyVal.clear();
    registry.CloseKey(*key);
    return false;
  }
  std::size_t n = info->size;
  if (buffer[n - 1] == 0) --n;
  const std::span<const std::uint8_t> text(buffer.data(), n);
  if (info->type == kRegSz) {
    keyVal = Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  } else if (info->type == kRegDword) {
    keyVal = HexOfBytesLastToFirst(text);
  }
  registry.CloseKey(*key);
  return true;
}

std::unique_ptr<RegistryReader> MakeSystemRegistry() {
#ifdef _WIN32
  return std::make_unique<Win32Registry>();
#else
  return std::make_unique<StandInRegistry>();
#endif
}

}  // namespace tarnlow::ui
