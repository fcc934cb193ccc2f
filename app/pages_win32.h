// The four pages the main window opens over itself: what each is handed, how it is started and
// how the main window ends it. Each page keeps its own source file and its own build list
// (app/<page>.cmake), so the pages grow without touching the main window.
#pragma once

#include <windows.h>

#include <array>

#include "app/language.h"
#include "app/messages.h"
#include "app/prompt_win32.h"
#include "app/session.h"
#include "app/skin/gdi_win32.h"
#include "device/ic_tessel.h"
#include "platform/clock.h"
#include "platform/file_seam.h"
#include "platform/shell.h"
#include "platform/system_settings.h"
#include "platform/window_services.h"
#include "store/profile_file.h"
#include "store/registry_store.h"

namespace halvard {

// Sent by the main window to the open page when the session ends under it (the mouse went
// away): the page ends as by Cancel, restoring what it snapshotted and writing nothing more.
// The profile manager ignores it; it stays open.
inline constexpr UINT WM_END_PAGE = WM_APP + 0x60;

// What the main window hands every page. The references outlive every page.
struct PageContext {
  HWND owner;
  CIcTessel& tessel;
  Clock& clock;
  RegistryStore& store;
  FileSeam& files;
  ProfileFiles& profiles;
  WindowServices& windows;
  MessageService& messages;
  ShellSeam& shell;
  CSkinDlg& prompt;
  DeviceSession& session;
  const std::array<Font, kFontCount>& fonts;
  // The language chosen at start-up (its texts are the process-wide tables; the keyboard
  // variant and AltGr matter to recording).
  const LanguageSelection& language;
  // From the revision query: the firmware knows the IME key.
  const bool& imeFlag;
  // Pointer speed, double-click time and wheel lines, which each profile keeps for itself.
  SystemSettings& system;
  // The page window while one runs, so the main window can end or close it; each page sets it
  // when its window is made and clears it when the window goes.
  HWND openPage = nullptr;
};

// How a page ended.
struct PageOutcome {
  int profile;  // the profile the page showed last
  bool ok;      // ended by OK
};

// Each runs its page modally over ctx.owner, starting on `profile`.
PageOutcome RunConfigPage(PageContext& ctx, int profile);
PageOutcome RunLedPage(PageContext& ctx, int profile);
PageOutcome RunMacroEditor(PageContext& ctx, int profile);
// `defaultName`: the shown profile is named "Default".
PageOutcome RunProfileManager(PageContext& ctx, int profile, bool defaultName);

}  // namespace halvard
