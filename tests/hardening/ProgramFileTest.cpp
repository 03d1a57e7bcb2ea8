// The installer's program file as the system loader sees it: the manifest it
// carries and the libraries it imports.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "InstallerProcess.h"

using namespace driver;

namespace {

std::string ManifestOf(const std::string& program) {
  std::string text;
  HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return text;
  if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    HGLOBAL data = LoadResource(module, found);
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (bytes) text.assign(bytes, SizeofResource(module, found));
  }
  FreeLibrary(module);
  return text;
}

// The names in the import directory, lower case, read from the file itself
// (not from a loaded image, which would already have resolved them).
std::vector<std::string> ImportedLibraries(const std::string& path) {
  std::vector<std::string> names;
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  auto at = [&](size_t offset, size_t size) { return offset + size <= file.size() ? file.data() + offset : nullptr; };
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
  if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return names;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(at(size_t(dos->e_lfanew), sizeof(IMAGE_NT_HEADERS)));
  if (!nt || nt->Signature != IMAGE_NT_SIGNATURE) return names;
  const auto* sections = IMAGE_FIRST_SECTION(nt);
  auto fileOffset = [&](DWORD rva) -> size_t {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const IMAGE_SECTION_HEADER& s = sections[i];
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
        return rva - s.VirtualAddress + s.PointerToRawData;
    }
    return SIZE_MAX;
  };
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (size_t offset = fileOffset(directory.VirtualAddress);; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(offset, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
    if (!entry || entry->Name == 0) break;
    const char* name = at(fileOffset(entry->Name), 1);
    if (!name) break;
    std::string text(name, strnlen(name, size_t(file.data() + file.size() - name)));
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return char(tolower(c)); });
    names.push_back(text);
  }
  return names;
}

} // namespace

TEST(ProgramFile, ManifestAsksForAdministratorThemesAndWindows7To11) {
  const std::string manifest = ManifestOf(DosPath(OMBREL_EXE));
  ASSERT_FALSE(manifest.empty()) << "no manifest resource";
  EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""))
      << manifest;
  EXPECT_NE(std::string::npos,
            manifest.find("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"));
  EXPECT_NE(std::string::npos, manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">"));
  for (const char* id : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                         "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
    EXPECT_NE(std::string::npos, manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>")) << id;
}

// Imports are resolved before the program's first line runs, so only the
// system's known libraries (always taken from the system folder on Windows 7
// to 11) may be imported; comctl32 in particular is loaded on demand.
TEST(ProgramFile, ImportsOnlyKnownSystemLibraries) {
  const std::set<std::string> known = {"advapi32.dll", "gdi32.dll",  "kernel32.dll", "msvcrt.dll",
                                       "ole32.dll",    "oleaut32.dll", "shell32.dll", "shlwapi.dll",
                                       "user32.dll",   "comdlg32.dll", "imm32.dll"};
  const std::vector<std::string> imports = ImportedLibraries(DosPath(OMBREL_EXE));
  ASSERT_FALSE(imports.empty());
  EXPECT_NE(imports.end(), std::find(imports.begin(), imports.end(), "kernel32.dll"));
  for (const std::string& name : imports) EXPECT_TRUE(known.count(name)) << name << " is not a known library";
}
