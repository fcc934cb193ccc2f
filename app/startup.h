// The decisions of the main program's start-up: the automation switch, the single instance, the
// language and help document, the fonts, and the device description fix-up.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/language.h"
#include "app/messages.h"
#include "ipc/dword_source.h"
#include "platform/window_services.h"
#include "macro/listing.h"
#include "platform/file_seam.h"
#include "platform/registry_seam.h"
#include "store/registry_store.h"

namespace halvard {

inline constexpr std::u16string_view kInstanceMutexName = u"Vornex Halvard";
inline constexpr std::u16string_view kMouseDescription = u"Vornex Halvard Mouse";
inline constexpr std::u16string_view kMouseDeviceKey = u"SYSTEM\\CurrentControlSet\\Enum\\HID\\Vid_2e4a&Pid_1C07&MI_00";

// The arguments of a command line, split as the platform splits them: blanks separate, double
// quotes group, and a backslash before a quote escapes it.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

// "Automation" after "/" or "-", in any letter case, as one of the arguments.
bool HasAutomationSwitch(std::span<const std::u16string> arguments);

// The named mutex that keeps the main program single.
class InstanceMutex {
 public:
  virtual ~InstanceMutex() = default;
  // Creates the mutex with initial ownership; true when it already existed.
  virtual bool CreateOwned(std::u16string_view name) = 0;
  virtual void Release() = 0;
};

// A second start: bring the first instance's window up, or say there are too many instances.
// Returns true when the show command was posted.
bool HandleSecondStart(DwordSource& values, WindowServices& windows, MessageService& messages);

// The chosen language, the help document (found, or the English one), and whether the language
// file gave the texts; the process-wide tables, the keyboard language and the macro list's words
// are set either way.
struct LanguageStart {
  LanguageSelection selection;
  std::u16string helpDocument;
  bool fileLoaded = false;
};
LanguageStart StartLanguage(std::uint16_t systemLanguageId, RegistryStore& store, FileSeam& files);

// The macro list's words from the language tables.
MacroTexts MacroTextsFrom(const LanguageTables& tables);

// Size of the main text font in tenths of a point, from the icon-title font's height.
int MainFontSizeTenths(int iconTitleHeight);

// The platform's font request for fonts 1-6 of the table.
struct FontRequest {
  std::u16string face;
  std::int32_t height, width, weight;
  bool italic = false, underline = false;
  std::uint8_t charset = 0, outPrecision = 2, clipPrecision = 16, quality = 1, pitchAndFamily = 0x22;
};
FontRequest FontRequestFor(const FontSpec& font);

// Puts the product's description on every sub-key of the mouse's device key whose "DeviceDesc"
// reads and differs. Returns the number of values written.
int FixDeviceDescription(RegistrySeam& registry);

}  // namespace halvard
