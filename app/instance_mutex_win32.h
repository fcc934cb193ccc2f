// The named mutex of the main program on Windows; released when the owner goes.
#pragma once

#include "app/startup.h"

namespace halvard {

class Win32InstanceMutex : public InstanceMutex {
 public:
  ~Win32InstanceMutex() override { Release(); }
  bool CreateOwned(std::u16string_view name) override;
  void Release() override;

 private:
  void* handle_ = nullptr;
};

}  // namespace halvard
