// The system message box: OK button, no owner.
#pragma once

#include "platform/message_box.h"

namespace halvard {

class Win32MessageBox : public MessageBoxSeam {
 public:
  void Show(std::u16string_view text, std::u16string_view caption) override;
  void Show(std::string_view text, std::string_view caption) override;
  void ShowStop(std::u16string_view text, std::u16string_view caption) override;
};

}  // namespace halvard
