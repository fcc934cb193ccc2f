// Looks into a loaded module's image: its export names and a section by name, so the tests see
// the library exactly as a loader and another process do.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace halvard {

inline const IMAGE_NT_HEADERS* NtHeaders(HMODULE module) {
  auto base = reinterpret_cast<const BYTE*>(module);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  return reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
}

inline std::vector<std::string> ExportNames(HMODULE module) {
  auto base = reinterpret_cast<const BYTE*>(module);
  const auto& dir = NtHeaders(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  std::vector<std::string> names;
  if (dir.Size == 0) return names;
  auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto rvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) names.emplace_back(reinterpret_cast<const char*>(base + rvas[i]));
  return names;
}

inline const IMAGE_SECTION_HEADER* FindSection(HMODULE module, const char* name) {
  const IMAGE_NT_HEADERS* nt = NtHeaders(module);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i)
    if (std::strncmp(reinterpret_cast<const char*>(section[i].Name), name, IMAGE_SIZEOF_SHORT_NAME) == 0)
      return &section[i];
  return nullptr;
}

template <typename T>
T* SectionData(HMODULE module, const IMAGE_SECTION_HEADER* section) {
  return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + section->VirtualAddress);
}

inline constexpr const char* kHookCountExport = "_ZN5CHook9m_HookCntE";

}  // namespace halvard
