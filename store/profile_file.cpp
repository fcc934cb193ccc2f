#include "store/profile_file.h"

#include <algorithm>

#include "platform/text.h"
#include "store/value_names.h"

namespace halvard {
// Closes a file on every way out.
class OpenFile {
 public:
  OpenFile(FileSeam& files, std::u16string_view path, FileMode mode) : files_(files), h_(files.Open(path, mode)) {}
  ~OpenFile() {
    if (h_ != kNoFile) files_.Close(h_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  bool ok() const { return h_ != kNoFile; }
  bool WriteAt(std::size_t offset, const void* data, std::size_t n) {
    return files_.Seek(h_, offset) && files_.Write(h_, data, n);
  }
  std::size_t ReadAt(std::size_t offset, void* data, std::size_t n) {
    return files_.Seek(h_, offset) ? ReadFully(data, n) : 0;
  }
  std::size_t ReadFully(void* data, std::size_t n) { return files_.ReadFully(h_, data, n); }

 private:
  FileSeam& files_;
  FileHandle h_;
};

namespace {

constexpr ButtonValue kRecordOrder[kRecordsPerButton] = {ButtonValue::kMacroName, ButtonValue::kApplicationName,
                                                          ButtonValue::kApplication};

bool ValidProfile(int p) { return p >= 0 && p < kProfileCount; }

// The header and the device block behind it, or nothing when the file is not a profile file: a
// wrong magic, or a block too short for the settings and headers or cut off before its length.
std::optional<std::vector<std::uint8_t>> ReadDeviceBlock(OpenFile& f) {
  std::uint8_t header[kProfileHeaderSize];
  if (f.ReadFully(header, kProfileHeaderSize) != kProfileHeaderSize || !std::equal(header, header + 3, kProfileMagic))
    return std::nullopt;
  const std::size_t length = header[3] | (header[4] << 8);
  if (length < kFileSlotsOffset - kProfileHeaderSize) return std::nullopt;
  std::vector<std::uint8_t> block(length);
  if (f.ReadFully(block.data(), length) != length) return std::nullopt;
  return block;
}

}  // namespace

std::u16string DataFolder(FileSeam& files) { return files.DocumentsFolder() + u"\\" + std::u16string(kDataFolderName); }

bool IsProfileFileName(std::u16string_view fileName) {
  if (fileName.size() <= 3) return false;
  return AsciiLower(fileName.substr(fileName.size() - 2)) == u"pf";
}

std::u16string ProfileNameFromFile(std::u16string_view fileName) {
  return std::u16string(fileName.substr(0, fileName.size() >= 3 ? fileName.size() - 3 : 0));
}

std::u16string ProfileFilePath(FileSeam& files, std::u16string_view profileName) {
  // Names come from the mouse's name cells too: none may lead out of the data folder.
  if (profileName.find_first_of(u"\\/:") != std::u16string_view::npos) return {};
  return DataFolder(files) + u"\\" + std::u16string(profileName) + std::u16string(kProfileExtension);
}

bool IsLoadableProfileFile(FileSeam& files, std::u16string_view path) {
  OpenFile f(files, path, FileMode::kRead);
  return f.ok() && ReadDeviceBlock(f).has_value();
}

std::vector<std::u16string> ListProfileNames(FileSeam& files) {
  std::vector<std::u16string> names;
  for (const auto& f : files.ListFiles(DataFolder(files)))
    if (IsProfileFileName(f)) names.push_back(ProfileNameFromFile(f));
  return names;
}

std::u16string ProfileFiles::ProfileName(int p) const {
  char16_t name[kNameMaxChars + 1];
  return ReadProfileName(tessel_, p, name) ? std::u16string(name) : std::u16string();
}

// Slot bytes past the macro's length are zero; a length above a slot is cut to the slot.
std::array<std::uint8_t, kSlotSize> ProfileFiles::Slot(int p, int button) const {
  std::array<std::uint8_t, kSlotSize> slot{};
  int header = H(p) + kHeaderCellsPerButton * button;
  int n = std::min(MacroLength(static_cast<std::uint8_t>(tessel_.Value(header)),
                               static_cast<std::uint8_t>(tessel_.Value(header + 3))),
                   kSlotSize);
  for (int c = 0; c < n; ++c) slot[c] = static_cast<std::uint8_t>(tessel_.Value(M(p) + kSlotSize * button + c));
  return slot;
}

// Header (reserved byte 0) and the device block of p: 71 settings cells, 44 header cells, slots.
std::vector<std::uint8_t> ProfileFiles::DeviceBlock(int p) const {
  std::vector<std::uint8_t> out(kProfileHeaderSize + kDeviceBlockLength, 0);
  out[0] = kProfileMagic[0];
  out[1] = kProfileMagic[1];
  out[2] = kProfileMagic[2];
  out[3] = kDeviceBlockLength & 0xFF;
  out[4] = kDeviceBlockLength >> 8;
  for (std::size_t i = 0; i < kFileSettingsCells; ++i)
    out[kFileSettingsOffset + i] = static_cast<std::uint8_t>(tessel_.Value(B(p) + static_cast<int>(i)));
  for (int i = 0; i < kHeaderBlockSize; ++i)
    out[kFileHeadersOffset + i] = static_cast<std::uint8_t>(tessel_.Value(H(p) + i));
  for (int b = 0; b < kButtonCount; ++b) {
    auto slot = Slot(p, b);
    std::copy(slot.begin(), slot.end(), out.begin() + kFileSlotsOffset + kSlotSize * b);
  }
  return out;
}

// The 33 records in button order: macro name, application name, application path.
std::vector<std::uint8_t> ProfileFiles::TextRecords(int p) {
  std::vector<std::uint8_t> out(kButtonCount * kRecordsPerButton * kRecordBytes, 0);
  char16_t text[RegistryStore::kStringChars];
  std::size_t at = 0;
  for (int b = 0; b < kButtonCount; ++b) {
    for (ButtonValue which : kRecordOrder) {
      if (store_.GetString(ButtonValueName(p, b, which), text)) {
        // A record keeps its terminator.
        std::size_t n = std::min(BoundedLength(text, RegistryStore::kStringChars), kRecordChars - 1);
        for (std::size_t c = 0; c < n; ++c) {
          out[at + 2 * c] = static_cast<std::uint8_t>(text[c] & 0xFF);
          out[at + 2 * c + 1] = static_cast<std::uint8_t>(text[c] >> 8);
        }
      }
      at += kRecordBytes;
    }
  }
  return out;
}

std::array<std::uint8_t, 2> ProfileFiles::XyFlag(int p) {
  return {static_cast<std::uint8_t>(XyFlagSet(store_.GetDword(XyFlagName(p))) ? 1 : 0), 0};
}

// The 33 text records and the X-Y flag at the end of the file.
bool ProfileFiles::WriteTexts(OpenFile& f, int p) {
  std::vector<std::uint8_t> records = TextRecords(p);
  auto flag = XyFlag(p);
  if (f.WriteAt(kFileRecordsOffset, records.data(), records.size()) && f.WriteAt(kFileFlagOffset, flag.data(), 2))
    return true;
  messages_.ShowMessage(kMsgWriteFailed);
  return false;
}

int ProfileFiles::CreateFile(int p, std::u16string_view name) {
  if (!ValidProfile(p)) return 0;
  std::u16string path = ProfileFilePath(files_, name);
  if (files_.CanOpenForReading(path)) {
    messages_.ShowMessage(kMsgMacroExists);
    return 0;
  }
  OpenFile f(files_, path, FileMode::kCreate);
  if (!f.ok()) {
    messages_.ShowMessage(kMsgCantFindPath, path);
    return 0;
  }
  std::vector<std::uint8_t> block = DeviceBlock(p);
  if (!f.WriteAt(0, block.data(), block.size())) {
    messages_.ShowMessage(kMsgWriteFailed);
    return 0;
  }
  return WriteTexts(f, p) ? 1 : 0;
}

int ProfileFiles::SaveIntoFile(int p, std::array<bool, kButtonCount>& macroAssigned) {
  if (!ValidProfile(p)) return 0;
  std::u16string name = ProfileName(p);
  if (name.empty() || name == kFactoryProfileName) return 0;
  OpenFile f(files_, ProfileFilePath(files_, name), FileMode::kReadWrite);
  if (!f.ok()) return 0;
  std::uint8_t magic[3] = {};
  if (f.ReadAt(0, magic, 3) != 3 || !std::equal(magic, magic + 3, kProfileMagic)) return 0;

  std::vector<std::uint8_t> block = DeviceBlock(p);
  if (!f.WriteAt(kFileSettingsOffset, block.data() + kFileSettingsOffset, kFileSettingsCells)) {
    messages_.ShowMessage(kMsgWriteFailed);
    return 0;
  }

  if (std::find(macroAssigned.begin(), macroAssigned.end(), true) != macroAssigned.end()) {
    std::uint8_t headers[kHeaderBlockSize];
    // A file too short for its headers cannot take the new ones without losing the others.
    if (f.ReadAt(kFileHeadersOffset, headers, kHeaderBlockSize) != kHeaderBlockSize) {
      messages_.ShowMessage(kMsgWriteFailed);
      return 0;
    }
    for (int b = 0; b < kButtonCount; ++b)
      if (macroAssigned[b])
        std::copy_n(block.begin() + kFileHeadersOffset + kHeaderCellsPerButton * b, kHeaderCellsPerButton,
                    headers + kHeaderCellsPerButton * b);
    bool ok = f.WriteAt(kFileHeadersOffset, headers, kHeaderBlockSize);
    for (int b = 0; ok && b < kButtonCount; ++b)
      if (macroAssigned[b])
        ok = f.WriteAt(kFileSlotsOffset + kSlotSize * b, block.data() + kFileSlotsOffset + kSlotSize * b, kSlotSize);
    if (!ok) {
      messages_.ShowMessage(kMsgWriteFailed);
      return 0;
    }
  }

  if (!WriteTexts(f, p)) return 0;
  macroAssigned.fill(false);
  return 1;
}

std::optional<std::size_t> ProfileFiles::LoadIntoProfile(int p, std::u16string_view name, bool withName,
                                                         std::span<std::uint16_t> writeList) {
  if (!ValidProfile(p)) return std::nullopt;
  const std::u16string path = ProfileFilePath(files_, name);
  OpenFile f(files_, path, FileMode::kRead);
  if (!f.ok()) {
    messages_.ShowMessage(kMsgCantFindPath, path.empty() ? name : std::u16string_view(path));
    return std::nullopt;
  }
  const auto read = ReadDeviceBlock(f);
  if (!read) {
    messages_.ShowMessage(kMsgBadFileFormat);
    return std::nullopt;
  }
  const std::vector<std::uint8_t>& block = *read;
  const std::size_t length = block.size();
  // The settings and the headers lie inside the block; slots are taken only as far as it goes.
  constexpr std::size_t kSlotsInBlock = kFileSlotsOffset - kProfileHeaderSize;

  // Texts and flag follow the block.
  std::uint8_t record[kRecordBytes];
  for (int b = 0; b < kButtonCount; ++b) {
    for (ButtonValue which : kRecordOrder) {
      std::u16string text;
      if (f.ReadFully(record, kRecordBytes) == kRecordBytes) {
        for (std::size_t c = 0; c < kRecordChars; ++c) {
          char16_t ch = static_cast<char16_t>(record[2 * c] | (record[2 * c + 1] << 8));
          if (ch == u'\0') break;
          text += ch;
        }
      }
      std::u16string value = ButtonValueName(p, b, which);
      if (!text.empty())
        store_.SetString(value, text);
      else
        store_.DeleteValue(value);
    }
  }
  std::uint8_t flag[2] = {};
  if (f.ReadFully(flag, 2) == 2 && (flag[0] | flag[1]) != 0)
    store_.SetDword(XyFlagName(p), 1);
  else
    store_.DeleteValue(XyFlagName(p));

  std::size_t n = 0;
  auto visit = [&](int address, std::uint8_t value) {
    tessel_.SetCell(address, value);
    if (n < writeList.size()) writeList[n++] = static_cast<std::uint16_t>(address);
  };
  for (std::size_t i = 0; i < kFileSettingsCells; ++i) visit(B(p) + static_cast<int>(i), block[i]);
  const std::size_t headers = kFileHeadersOffset - kProfileHeaderSize;
  for (int i = 0; i < kHeaderBlockSize; ++i) visit(H(p) + i, block[headers + i]);
  for (int b = 0; b < kButtonCount; ++b) {
    const std::uint8_t* h = &block[headers + kHeaderCellsPerButton * b];
    std::size_t start = kSlotsInBlock + static_cast<std::size_t>(kSlotSize) * b;
    std::size_t available = start < length ? length - start : 0;
    std::size_t count = std::min<std::size_t>({static_cast<std::size_t>(MacroLength(h[0], h[3])),
                                               static_cast<std::size_t>(kSlotSize), available});
    for (std::size_t c = 0; c < count; ++c) visit(M(p) + kSlotSize * b + static_cast<int>(c), block[start + c]);
  }
  if (withName) {
    if (tessel_.Value(N(p)) > kNameMaxChars) tessel_.SetCell(N(p), 0);
    for (int c = 0; c < kNameSize; ++c)
      if (n < writeList.size()) writeList[n++] = static_cast<std::uint16_t>(N(p) + c);
  }
  return n;
}

std::optional<std::size_t> ProfileFiles::ResetToFactory(int p, bool connected, std::span<std::uint16_t> writeList) {
  if (!connected) {
    messages_.ShowMessage(kMsgNoMouse);
    return std::nullopt;
  }
  if (!ValidProfile(p)) return std::nullopt;
  for (int b = 0; b < kButtonCount; ++b)
    for (ButtonValue which : kRecordOrder) store_.DeleteValue(ButtonValueName(p, b, which));
  store_.DeleteValue(XyFlagName(p));
  return ResetProfileToFactory(tessel_, p, writeList);
}

std::vector<int> ProfileFiles::ProfilesSharingName(int p) const {
  std::vector<int> others;
  std::u16string name = ProfileName(p);
  if (name.empty()) return others;
  for (int q = 0; q < kProfileCount; ++q)
    if (q != p && ProfileName(q) == name) others.push_back(q);
  return others;
}

}  // namespace halvard
