// Everything the hook library decides, apart from the system calls: the keyboard filter's
// verdicts, the three senders, the extended-button and wheel handling with the filter device's
// status, and the start of the application assigned to a button.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "hook/filter_status.h"
#include "hook/keyboard_filter.h"
#include "ipc/inform.h"
#include "ipc/messages.h"
#include "platform/registry_seam.h"
#include "platform/window_services.h"
#include "store/registry_store.h"

namespace halvard {

// Starts the application stored for a button.
class AppStarter {
 public:
  virtual ~AppStarter() = default;
  // Opens the file for reading (other readers allowed, existing file only) and closes it again.
  virtual bool OpenForReading(const char* path) = 0;
  // Starts a process with `path` as the application and no command line; nothing waits for it.
  virtual bool Start(const char* path) = 0;
};

class HookCore {
 public:
  // The buffer an application path is read into, terminator included.
  static constexpr std::size_t kAppPathBytes = 1024;

  HookCore(RegistrySeam& registry, WindowServices& windows, FilterDevice& device, AppStarter& starter,
           HookSharedSection& shared);
  HookCore(const HookCore&) = delete;
  HookCore& operator=(const HookCore&) = delete;

  int m_InformOSD(int wParam, std::int32_t lParam);
  int m_InformMainFrame(int wParam, std::int32_t lParam);
  int m_InformUIEdit(std::uint32_t vk, std::int32_t released);

  // True when the key went to the recording macro editor and must be withheld from the system.
  bool FilterKey(const LowLevelKey& key, bool ctrlDown);

  int m_ProcessXButton(std::uint32_t mouseData);
  int m_ProcessWheel(std::uint32_t mouseData);
  void m_LaunchAP(int code);
  int m_ExecApplication(const char* path);

  int GetReport4Filter(std::uint8_t& report) { return QueryFilterReport(device_, report); }
  int GetStatus4Filter(std::uint8_t* status) { return QueryFilterStatus(device_, status); }

  // The registry key holder, with the last registry error.
  RegistryStoreA& Registry() { return store_; }

 private:
  // Reads the path stored under `name`; a path that does not fit the buffer with its
  // terminator is refused rather than cut.
  bool ReadAppPath(std::u16string_view name, std::array<char, kAppPathBytes>& path);

  RegistryStoreA store_;
  InformSender sender_;
  FilterDevice& device_;
  AppStarter& starter_;
  HookSharedSection& shared_;
  KeyboardFilter keys_;
};

}  // namespace halvard
