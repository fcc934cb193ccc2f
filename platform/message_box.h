// The plain system message box of the device client ("Open failed", the table listing).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace halvard {

class MessageBoxSeam {
 public:
  virtual ~MessageBoxSeam() = default;
  // An OK box without owner.
  virtual void Show(std::u16string_view text, std::u16string_view caption) = 0;
  virtual void Show(std::string_view text, std::string_view caption) = 0;
  // The program's own messages: stop icon, topmost.
  virtual void ShowStop(std::u16string_view text, std::u16string_view caption) = 0;
};

// Keeps what would have been shown; for tests and for programs that run unattended.
class RecordingMessageBox : public MessageBoxSeam {
 public:
  struct Shown {
    std::u16string text, caption;
    bool stop = false;
  };
  void Show(std::u16string_view text, std::u16string_view caption) override {
    shown.push_back({std::u16string(text), std::u16string(caption)});
  }
  void Show(std::string_view text, std::string_view caption) override {
    shown.push_back({std::u16string(text.begin(), text.end()), std::u16string(caption.begin(), caption.end())});
  }
  void ShowStop(std::u16string_view text, std::u16string_view caption) override {
    shown.push_back({std::u16string(text), std::u16string(caption), true});
  }
  std::vector<Shown> shown;
};

}  // namespace halvard
