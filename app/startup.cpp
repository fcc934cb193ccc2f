#include "app/startup.h"

#include "ipc/messages.h"
#include "store/document_lookup.h"
#include "platform/text.h"

namespace halvard {

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> args;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    if (i >= line.size()) break;
    std::u16string arg;
    bool quoted = false;
    for (; i < line.size() && (quoted || (line[i] != u' ' && line[i] != u'\t')); ++i) {
      if (line[i] == u'\\' && i + 1 < line.size() && line[i + 1] == u'"') {
        arg += u'"';
        ++i;
      } else if (line[i] == u'"') {
        quoted = !quoted;
      } else {
        arg += line[i];
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

bool HasAutomationSwitch(std::span<const std::u16string> arguments) {
  for (const auto& a : arguments)
    if (a.size() == 11 && (a[0] == u'/' || a[0] == u'-') && AsciiLower(a.substr(1)) == u"automation") return true;
  return false;
}

bool HandleSecondStart(DwordSource& values, WindowServices& windows, MessageService& messages) {
  std::int32_t handle = values.GetDword(kProcessHandle);
  if (HandleUsable(handle)) {
    windows.Post(HandleFromValue(handle), kWmCommand, ID_SHOW_MAIN, 0);
    return true;
  }
  messages.ShowMessage(kMsgTooManyInstances);
  return false;
}

LanguageStart StartLanguage(std::uint16_t systemLanguageId, RegistryStore& store, FileSeam& files) {
  LanguageStart start;
  start.selection = SelectLanguage(systemLanguageId);
  char16_t found[kDocumentPathChars];
  start.helpDocument = FindDocument(store, files, start.selection.HelpDocument(), kHelpFolder, found)
                           ? std::u16string(found)
                           : std::u16string(u"Information_en.html");

  // Language files are a few hundred kilobytes; anything past this is not one.
  constexpr std::size_t kMaxLanguageFileBytes = 1 << 20;
  LanguageTables tables;
  std::vector<std::uint8_t> bytes;
  if (FindDocument(store, files, start.selection.languageFile, kLanguagesFolder, found) &&
      files.ReadFile(found, bytes, kMaxLanguageFileBytes)) {
    start.fileLoaded = LoadLanguageFile(bytes, start.selection.languageFile, tables);
  } else {
    tables = LanguageTables::Defaults();
  }
  SetActiveLanguage(tables);
  SetKeyboardLanguage(KeyboardLanguage{start.selection.primary, start.selection.subLanguage, start.selection.altGr});
  SetMacroTexts(MacroTextsFrom(tables));
  return start;
}

MacroTexts MacroTextsFrom(const LanguageTables& tables) {
  MacroTexts t;
  t.secondWord = tables.Unit(0);
  t.millisecondWord = tables.Unit(1);
  for (int i = 0; i < kCommandNameCount; ++i) t.commandNames[i] = tables.CommandName(i);
  return t;
}

int MainFontSizeTenths(int h) {
  if (h >= -9) return 150;
  if (h >= -12) return 109;
  if (h >= -15) return 90;
  if (h >= -18) return 75;
  if (h >= -24) return 55;
  return 100;
}

FontRequest FontRequestFor(const FontSpec& font) {
  FontRequest r;
  r.face = font.face;
  r.height = font.height;
  r.width = font.width;
  r.weight = font.weight;
  return r;
}

int FixDeviceDescription(RegistrySeam& registry) {
  RegKey key = nullptr;
  if (registry.OpenKey(RegRoot::kLocalMachine, kMouseDeviceKey, false, &key) != 0) return 0;
  int written = 0;
  char16_t name[256];
  for (std::uint32_t i = 0;; ++i) {
    if (registry.EnumSubKey(key, i, name, 256) != 0) break;
    RegKey sub = nullptr;
    std::u16string path = std::u16string(kMouseDeviceKey) + u"\\" + name;
    if (registry.OpenKey(RegRoot::kLocalMachine, path, false, &sub) != 0) continue;
    std::uint8_t data[256] = {};
    std::uint32_t type = 0, size = sizeof data;
    // Only a text is a description to compare; a value of another type is left as it is.
    if (registry.QueryValue(sub, u"DeviceDesc", &type, data, &size) == 0 && (type == kRegSz || type == kRegExpandSz)) {
      std::u16string current;
      for (std::uint32_t k = 0; k + 1 < size; k += 2) {
        char16_t c = static_cast<char16_t>(data[k] | (data[k + 1] << 8));
        if (c == u'\0') break;
        current += c;
      }
      if (current != kMouseDescription) {
        if (registry.SetValue(sub, u"DeviceDesc", kRegSz, reinterpret_cast<const std::uint8_t*>(kMouseDescription.data()),
                              static_cast<std::uint32_t>(kMouseDescription.size() * 2)) == 0)
          ++written;
      }
    }
    registry.CloseKey(sub);
  }
  registry.CloseKey(key);
  return written;
}

}  // namespace halvard
