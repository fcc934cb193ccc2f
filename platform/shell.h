// The shell seam: starting a program and opening a document or web address with its handler.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace halvard {

class ShellSeam {
 public:
  virtual ~ShellSeam() = default;
  // A new process of the program file, without command line, in the default environment.
  virtual bool StartProcess(std::u16string_view program) = 0;
  // The "open" verb; false when the handler refused (a result of 32 or less).
  virtual bool OpenDocument(std::u16string_view target) = 0;
};

// Keeps what it was asked to start or open; for tests.
class RecordingShell : public ShellSeam {
 public:
  bool StartProcess(std::u16string_view program) override {
    started.emplace_back(program);
    return startSucceeds;
  }
  bool OpenDocument(std::u16string_view target) override {
    opened.emplace_back(target);
    return openSucceeds;
  }
  std::vector<std::u16string> started, opened;
  bool startSucceeds = true, openSucceeds = true;
};

}  // namespace halvard
