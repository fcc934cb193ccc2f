// Profile files: one mouse profile outside the mouse (its settings block, macro headers and
// slots as raw device bytes, and the per-button registry texts and X-Y flag), in the data folder
// under the profile's name. The device bytes are position-independent: a file written from one
// profile loads into any other.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/ic_tessel.h"
#include "device/memory_map.h"
#include "platform/file_seam.h"
#include "platform/message_service.h"
#include "store/registry_store.h"

namespace halvard {

class OpenFile;

// File layout.
inline constexpr std::uint8_t kProfileMagic[3] = {0x6D, 0xA5, 0x04};
inline constexpr std::size_t kProfileHeaderSize = 6;
inline constexpr std::uint16_t kDeviceBlockLength = 2931;
inline constexpr std::size_t kFileSettingsCells = 71;
inline constexpr std::size_t kFileSettingsOffset = 6;
inline constexpr std::size_t kFileHeadersOffset = 77;
inline constexpr std::size_t kFileSlotsOffset = 121;
inline constexpr std::size_t kFileRecordsOffset = 2937;
inline constexpr std::size_t kRecordChars = 260;
inline constexpr std::size_t kRecordBytes = kRecordChars * 2;
inline constexpr std::size_t kRecordsPerButton = 3;
inline constexpr std::size_t kFileFlagOffset = kFileRecordsOffset + kButtonCount * kRecordsPerButton * kRecordBytes;
inline constexpr std::size_t kProfileFileSize = kFileFlagOffset + 2;
static_assert(kFileSettingsOffset + kFileSettingsCells == kFileHeadersOffset);
static_assert(kFileHeadersOffset + kHeaderBlockSize == kFileSlotsOffset);
static_assert(kFileSlotsOffset + kButtonCount * kSlotSize == kProfileHeaderSize + kDeviceBlockLength);
static_assert(kProfileHeaderSize + kDeviceBlockLength == kFileRecordsOffset);
static_assert(kFileFlagOffset == 20097);
static_assert(kProfileFileSize == 20099);

inline constexpr std::u16string_view kDataFolderName = u"Halvard";
inline constexpr std::u16string_view kFactoryProfileName = u"Default";
inline constexpr std::u16string_view kProfileExtension = u".PF";

// Longest write list a load builds: settings, headers, eleven full slots and the name.
inline constexpr std::size_t kLoadListMax = kFileSettingsCells + kHeaderBlockSize + kSlotRegionSize + kNameSize;

// The user's documents folder + "\Halvard".
std::u16string DataFolder(FileSeam& files);
// A name longer than three characters ending in "pf" in any case.
bool IsProfileFileName(std::u16string_view fileName);
// The file name without its last three characters.
std::u16string ProfileNameFromFile(std::u16string_view fileName);
// Data folder + "\" + name + ".PF"; empty for a name with a path separator or drive colon.
std::u16string ProfileFilePath(FileSeam& files, std::u16string_view profileName);
// Whether the file at `path` has a profile file's header and a complete device block.
bool IsLoadableProfileFile(FileSeam& files, std::u16string_view path);
// Profile names of the files in the data folder, in the folder's order.
std::vector<std::u16string> ListProfileNames(FileSeam& files);

// A macro's length from its header bytes 0 and 3: byte 0 plus (byte 3 >> 4) * 256.
constexpr int MacroLength(std::uint8_t lengthLow, std::uint8_t modeAndLengthHigh) {
  return lengthLow + (modeAndLengthHigh >> 4) * 256;
}

class ProfileFiles {
 public:
  ProfileFiles(CIcTessel& tessel, RegistryStore& store, FileSeam& files, MessageService& messages)
      : tessel_(tessel), store_(store), files_(files), messages_(messages) {}

  // A new file from profile p's shadow and registry values. 1 on success; message 19 when the
  // file exists, 2 when it cannot be created, 9 when the device bytes cannot be written.
  int CreateFile(int p, std::u16string_view name);

  // After Apply: the settings, the headers and slots of buttons that got a macro since the last
  // save (`macroAssigned`, cleared here), the texts and the flag into the profile's own file.
  // Skipped silently for "Default", an empty name, a missing file or a file of another kind.
  int SaveIntoFile(int p, std::array<bool, kButtonCount>& macroAssigned);

  // Fills profile p's shadow and registry values from the file `name`.PF and lists every cell
  // visited (and the name cells with `withName`). Nothing changes when the file is missing
  // (message 2 with the path) or not a profile file (message 3).
  std::optional<std::size_t> LoadIntoProfile(int p, std::u16string_view name, bool withName,
                                             std::span<std::uint16_t> writeList);

  // Deletes p's button values and X-Y flag and puts the factory values into the shadow; the
  // pending cells, or nothing (message 1) without a mouse.
  std::optional<std::size_t> ResetToFactory(int p, bool connected, std::span<std::uint16_t> writeList);

  // The other profiles whose name equals p's, in profile order (reloaded after a save).
  std::vector<int> ProfilesSharingName(int p) const;

  // The name of p in the shadow, empty when none is stored.
  std::u16string ProfileName(int p) const;

 private:
  std::vector<std::uint8_t> DeviceBlock(int p) const;
  std::vector<std::uint8_t> TextRecords(int p);
  std::array<std::uint8_t, 2> XyFlag(int p);
  std::array<std::uint8_t, kSlotSize> Slot(int p, int button) const;
  bool WriteTexts(OpenFile& file, int p);

  CIcTessel& tessel_;
  RegistryStore& store_;
  FileSeam& files_;
  MessageService& messages_;
};

}  // namespace halvard
