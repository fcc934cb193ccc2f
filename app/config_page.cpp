#include "app/config_page.h"

#include <algorithm>

#include "app/cfg_pointer.h"
#include "device/memory_map.h"
#include "ipc/messages.h"
#include "platform/text.h"
#include "store/value_names.h"

namespace halvard {
namespace {

constexpr int kAxisBit = 0x40;       // cell 129: first group is Y
constexpr int kLiftOffValid = 0x20;  // cell 142
constexpr int kLiftOffKept = 0xC0;
constexpr std::size_t kFactoryCellsReset = 11;
constexpr int kLastProfile = kProfileCount - 1;

bool DigitsOnly(std::u16string_view t) {
  return std::all_of(t.begin(), t.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

int LeadingNumber(std::u16string_view t) {
  int v = 0;
  for (char16_t c : t) {
    if (c < u'0' || c > u'9' || v > 100000) break;
    v = v * 10 + (c - u'0');
  }
  return v;
}

std::u16string Decimal(int v) {
  std::u16string s;
  AppendDecimal(s, v);
  return s;
}

}  // namespace

int DpiToCode(int dpi) {
  if (dpi <= 50) return kDpiCodeMin;
  if (dpi >= kDpiMax) return kDpiCodeMax;
  return dpi / 50;
}

int CodeToDpi(int code) { return std::clamp(code, kDpiCodeMin, kDpiCodeMax) * 50; }

std::u16string FilterDpiText(std::u16string_view text) {
  std::u16string t(text.substr(0, std::min(text.size(), kDpiFieldChars)));
  if (t.empty()) return t;
  if (!DigitsOnly(t)) {
    t.pop_back();
    return t;
  }
  const int value = LeadingNumber(t);
  if (value > kDpiMax) return Decimal(kDpiMax);
  int smallest = 1;
  for (std::size_t i = 1; i < t.size(); ++i) smallest *= 10;
  if (t.size() > 1 && value < smallest) t.pop_back();  // a leading zero
  return t;
}

std::u16string RoundDpiText(std::u16string_view text) {
  const int value = LeadingNumber(text);
  if (value <= 50) return u"50";
  if (value > kDpiMax - 1 || value / 50 > kDpiCodeMax - 1) return Decimal(kDpiMax);
  return Decimal(value / 50 * 50);
}

CfgPageModel::CfgPageModel(CfgPageDeps deps)
    : tessel_(deps.tessel),
      store_(deps.store),
      system_(deps.system),
      clock_(deps.clock),
      messages_(deps.messages),
      inform_(deps.store, deps.windows) {}

std::array<int, 12> CfgPageModel::SnapshotCells(int p) {
  std::array<int, 12> cells{};
  for (int i = 0; i < 11; ++i) cells[static_cast<std::size_t>(i)] = B(p) + i;
  cells[11] = kCellLiftOff;
  return cells;
}

int CfgPageModel::Base() const { return B(profile_); }
int CfgPageModel::XCell() const { return Base() + (axis_ ? kOffGroup2 : kOffGroup1) + level_; }
int CfgPageModel::YCell() const { return Base() + (axis_ ? kOffGroup1 : kOffGroup2) + level_; }
int CfgPageModel::XCode() const { return tessel_.Value(XCell()); }
int CfgPageModel::YCode() const { return tessel_.Value(YCell()); }

int CfgPageModel::SliderPosition(DpiField field) const {
  const int code = field == DpiField::kY ? YCode() : XCode();
  return kDpiSliderTop - std::clamp(code, kDpiCodeMin, kDpiCodeMax);
}

std::uint32_t CfgPageModel::DpiWord() const {
  const int first = tessel_.Value(Base() + kOffGroup1 + level_);
  const int second = xy_ ? tessel_.Value(Base() + kOffGroup2 + level_) : first;
  return static_cast<std::uint32_t>(level_ | (profile_ << 4) | (first << 8) | (second << 16));
}

void CfgPageModel::Open(int p, Hwnd page) {
  store_.SetDword(kConfigureHandle, ValueFromHandle(page));
  closed_ = false;
  Load(p);
  TakeSnapshot();
}

void CfgPageModel::Load(int p) {
  // Only the profiles the mouse has; anything else would name another profile's cells.
  profile_ = (p >= 0 && p <= kLastProfile) ? p : 0;
  const int cell = tessel_.Value(Base());
  if (NormaliseLevelCell(cell) != cell) tessel_.SetCell(Base(), NormaliseLevelCell(cell));
  const int v = tessel_.Value(Base());
  polling_ = (v >> 3) & 3;
  xy_ = XyFlagSet(store_.GetDword(XyFlagName(profile_)));
  axis_ = (tessel_.Value(kCellGlobalOptions) & kAxisBit) != 0;
  level_ = std::clamp(v & 7, 0, kLevelCount - 1);
  ShowDpi();
  ReadPointerSliders();
  const int lift = tessel_.Value(kCellLiftOff);
  liftOff_ = (lift & kLiftOffValid) != 0 ? (lift & 0x1F) : kLiftOffShownWhenInvalid;
  cursorChanged_ = scrollChanged_ = false;
}

void CfgPageModel::ShowDpi() {
  text_[0] = Decimal(CodeToDpi(XCode()));
  text_[1] = text_[0];
  text_[2] = Decimal(CodeToDpi(YCode()));
}

void CfgPageModel::ReadPointerSliders() {
  doubleClickSlider_ = std::clamp(system_.DoubleClickTime() / 100, 1, kPointerSliderMax);
  cursorSlider_ = std::clamp(system_.CursorSpeed() / 2, 1, kPointerSliderMax);
  const int lines = system_.WheelLines();
  oneScreen_ = lines == kWheelOnePage;
  scrollSlider_ = oneScreen_ ? kPointerSliderMax : std::clamp(lines, 1, kPointerSliderMax);
}

void CfgPageModel::TakeSnapshot() {
  const auto cells = SnapshotCells(profile_);
  for (std::size_t i = 0; i < cells.size(); ++i) snapshot_[i] = tessel_.Shadow()[static_cast<std::size_t>(cells[i])];
  snapCursor_ = system_.CursorSpeed();
  snapDoubleClick_ = system_.DoubleClickTime();
  snapWheel_ = system_.WheelLines();
}

int CfgPageModel::ReadLevelCell() {
  // A level or rate whose write failed is still pending: it wins over the mouse, as with reports.
  if (tessel_.IsDirty(Base())) return tessel_.Value(Base());
  std::uint8_t v = 0;
  if (tessel_.ReadByte(Base(), &v)) return v;
  return tessel_.Value(Base());
}

void CfgPageModel::SetLevel(int slider) {
  if (slider < 1 || slider > kLevelCount) return;  // no such level: nothing reaches the cell
  const int n = NormaliseLevelCell((ReadLevelCell() & ~7) | (slider - 1));
  WriteThrough(tessel_, Base(), n);
  tessel_.Apply();
  level_ = slider - 1;
  ShowDpi();
  inform_.m_InformOSD(OSD_DPI_STATE, static_cast<std::intptr_t>(DpiWord()));
}

void CfgPageModel::SetCode(DpiField field, int code) {
  code = std::clamp(code, kDpiCodeMin, kDpiCodeMax);
  switch (field) {
    case DpiField::kCommon:
      if (code != tessel_.Value(Base() + kOffGroup1 + level_)) {
        tessel_.SetCell(Base() + kOffGroup1 + level_, code);
        tessel_.SetCell(Base() + kOffGroup2 + level_, code);
      }
      break;
    case DpiField::kX:
      if (code != XCode()) tessel_.SetCell(XCell(), code);
      break;
    case DpiField::kY:
      if (code != YCode()) tessel_.SetCell(YCell(), code);
      break;
  }
}

void CfgPageModel::MoveDpiSlider(DpiField field, int position) {
  SetCode(field, kDpiSliderTop - std::clamp(position, 1, kDpiCodeMax));
  ShowDpi();
}

std::u16string CfgPageModel::EditDpiField(DpiField field, std::u16string_view text) {
  std::u16string shown = FilterDpiText(text);
  // An empty field is a number still being typed, not 50 DPI.
  if (!shown.empty()) SetCode(field, DpiToCode(LeadingNumber(shown)));
  ShowDpi();
  text_[static_cast<int>(field)] = shown;
  return shown;
}

void CfgPageModel::SetXy(bool on) {
  if (on == xy_) return;
  if (!on) {
    // One sensitivity for both: what the common slider shows goes into both groups.
    const int code = std::clamp(XCode(), kDpiCodeMin, kDpiCodeMax);
    tessel_.SetCell(Base() + kOffGroup1 + level_, code);
    tessel_.SetCell(Base() + kOffGroup2 + level_, code);
  }
  xy_ = on;
  ShowDpi();
}

void CfgPageModel::SetPolling(int code) {
  if (code < kPoll1000 || code > kPoll125 || code == polling_) return;
  const int v = NormaliseLevelCell(ReadLevelCell());
  if (((v >> 3) & 3) != code) {
    WriteThrough(tessel_, Base(), (v & ~0x18) | (code << 3));
    tessel_.Apply();
    inform_.m_InformOSD(OSD_POLLING_RATE, code);
  }
  polling_ = code;
}

void CfgPageModel::SetLiftOff(int value) {
  if (value < 0 || value > kLiftOffMax) value = kLiftOffShownWhenInvalid;
  tessel_.SetCell(kCellLiftOff, value | (tessel_.Value(kCellLiftOff) & kLiftOffKept) | kLiftOffValid);
  liftOff_ = value;
}

void CfgPageModel::SetCursorSlider(int v) {
  cursorSlider_ = std::clamp(v, 0, kPointerSliderMax);
  system_.SetCursorSpeed(cursorSlider_ == 0 ? 1 : cursorSlider_ * 2, false);
  cursorChanged_ = true;
}

void CfgPageModel::SetDoubleClickSlider(int v) {
  doubleClickSlider_ = std::clamp(v, 0, kPointerSliderMax);
  system_.SetDoubleClickTime(std::max(doubleClickSlider_ * 100, 100));
}

void CfgPageModel::SetScrollSlider(int v) {
  scrollSlider_ = std::clamp(v, 0, kPointerSliderMax);
  oneScreen_ = false;
  system_.SetWheelLines(std::clamp(scrollSlider_, 1, kMaxWheelLines), false);
  scrollChanged_ = true;
}

void CfgPageModel::ToggleOneScreen() {
  oneScreen_ = !oneScreen_;
  system_.SetWheelLines(oneScreen_ ? kWheelOnePage : std::clamp(scrollSlider_, 1, kMaxWheelLines), false);
}

bool CfgPageModel::Apply(bool ok) {
  store_.SetDword(XyFlagName(profile_), xy_ ? 1u : 0u);
  int written = 0;
  bool failed = false;
  for (int a : SnapshotCells(profile_)) {
    if (!tessel_.IsDirty(a)) continue;
    if (tessel_.FlushCell(a))
      ++written;
    else
      failed = true;
    Pause();
  }
  if (ok) {
    if (cursorChanged_) system_.SetCursorSpeed(system_.CursorSpeed(), true);
    if (scrollChanged_)
      system_.SetWheelLines(oneScreen_ ? kWheelOnePage : std::clamp(scrollSlider_, 1, kMaxWheelLines), true);
    cursorChanged_ = scrollChanged_ = false;
  }
  if (written > 0) tessel_.Apply();
  if (!ok) text_[0] = RoundDpiText(text_[0]);
  inform_.m_InformOSD(OSD_DPI_STATE, static_cast<std::intptr_t>(DpiWord()));
  if (failed) {
    // The cells stay pending; the page stays open so the user can try again or cancel.
    messages_.ShowMessage(kMsgSaveConfigFailed);
    return false;
  }
  if (ok) {
    store_.SetDword(kConfigureHandle, 0xFFFFFFFFu);
    closed_ = true;
  }
  return true;
}

void CfgPageModel::Cancel() {
  const auto cells = SnapshotCells(profile_);
  bool sent = false;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const MemoryCell& snap = snapshot_[i];
    if (tessel_.Value(cells[i]) != snap.value) {
      WriteThrough(tessel_, cells[i], snap.value);
      sent = true;
      Pause();
    } else {
      RestoreShadowCell(tessel_, cells[i], snap);
    }
  }
  if (sent) tessel_.Apply();
  RestoreSystemSettings();
  store_.SetDword(kConfigureHandle, 0xFFFFFFFFu);
  closed_ = true;
}

void CfgPageModel::RestoreSystemSettings() {
  system_.SetDoubleClickTime(snapDoubleClick_);
  if (system_.CursorSpeed() != snapCursor_) system_.SetCursorSpeed(snapCursor_, true);
  if (system_.WheelLines() != snapWheel_) system_.SetWheelLines(snapWheel_, true);
}

void CfgPageModel::EndPage() {
  const auto cells = SnapshotCells(profile_);
  for (std::size_t i = 0; i < cells.size(); ++i) RestoreShadowCell(tessel_, cells[i], snapshot_[i]);
  RestoreSystemSettings();
  store_.SetDword(kConfigureHandle, 0xFFFFFFFFu);
  closed_ = true;
}

void CfgPageModel::ResetToDefault() {
  const auto part = FactoryProfilePart(profile_);
  int written = 0;
  for (std::size_t i = 0; i < kFactoryCellsReset && i < part.size(); ++i) {
    tessel_.SetCell(part[i].address, part[i].value);
    if (!tessel_.IsDirty(part[i].address)) continue;
    if (tessel_.FlushCell(part[i].address)) ++written;
    Pause();
  }
  if (written > 0) {
    tessel_.Apply();
    Pause();
  }
  const int v = tessel_.Value(Base());
  polling_ = (v >> 3) & 3;
  level_ = std::clamp(v & 7, 0, kLevelCount - 1);
  ShowDpi();
  system_.SetDoubleClickTime(kDefaultDoubleClickMs);
  system_.SetCursorSpeed(kDefaultCursorSpeed, true);
  system_.SetWheelLines(kDefaultWheelLines, true);
  doubleClickSlider_ = 5;
  cursorSlider_ = 5;
  scrollSlider_ = 3;
  oneScreen_ = cursorChanged_ = scrollChanged_ = false;
  const int lift = tessel_.Value(kCellLiftOff);
  liftOff_ = (lift & kLiftOffValid) != 0 ? (lift & 0x1F) : kLiftOffShownWhenInvalid;
  inform_.m_InformOSD(OSD_DPI_STATE, static_cast<std::intptr_t>(DpiWord()));
}

std::intptr_t CfgPageModel::OnInformUi(std::uintptr_t code, std::intptr_t lParam) {
  const auto word = static_cast<std::uint32_t>(lParam);
  switch (code) {
    case UI_DPI_STATE: {
      const int q = static_cast<int>((word >> 4) & 7);
      if ((word & 0x80) != 0) {
        if (q > kLastProfile) return 1;
        // The old profile keeps what is in force for it, as a close would; the page then
        // starts over on the new one, with a snapshot of its own.
        SaveProfilePointerSettings(store_, system_, profile_);
        Load(q);
        ApplyProfilePointerSettings(store_, system_, q);
        ReadPointerSliders();
        TakeSnapshot();
        return 1;
      }
      if (q != profile_ || (word & 4) != 0) return 1;
      const int v = (tessel_.Value(Base()) & ~7) | static_cast<int>(word & 7);
      // An edit not yet written stays pending; otherwise the cell is what the mouse holds.
      if (tessel_.IsDirty(Base()))
        tessel_.SetCell(Base(), v);
      else
        tessel_.MarkLoaded(Base(), v);
      level_ = static_cast<int>(word & 3);
      ShowDpi();
      return 1;
    }
    case UI_POLLING_RATE: {
      const int rate = static_cast<int>(word & 3);
      const int v = tessel_.Value(Base());
      if (((v >> 3) & 3) != rate) tessel_.SetCell(Base(), (v & ~0x18) | (rate << 3));
      polling_ = rate;
      return 1;
    }
    default:
      return 0;
  }
}

}  // namespace halvard
