// The second process of the hook library test: loads the library, reports the shared keyboard
// hook it sees and its own attach count, marks the shared section, and holds the library until
// told to end.
//   hook_peer LOGFILE
#include <windows.h>

#include <cstdio>

#include "hook_module_win32.h"
#include "ipc/messages.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, L"HalvardHookPeerExit");
  if (quit == nullptr) return 3;
  HMODULE library = LoadLibraryA("HalvardHook.dll");
  if (library == nullptr) return 4;
  const IMAGE_SECTION_HEADER* section = halvard::FindSection(library, ".shared");
  auto* count = reinterpret_cast<unsigned*>(GetProcAddress(library, halvard::kHookCountExport));
  if (section == nullptr || count == nullptr) return 5;
  auto* shared = halvard::SectionData<halvard::HookSharedSection>(library, section);
  const unsigned hook = shared->keyboardHook;
  shared->wheelDelta = -1234;  // seen by the first process if the section is really shared

  FILE* log = _wfopen(argv[1], L"w");
  if (log == nullptr) return 6;
  std::fprintf(log, "hook=%u count=%u\n", hook, *count);
  std::fclose(log);

  WaitForSingleObject(quit, 20000);
  return 0;  // the library's detach ends this process's instance
}
