// The numbered messages of the main program: the table text, optionally followed by the caller's
// text, shown in the prepared prompt when short, otherwise in a system message box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/message_box.h"
#include "platform/message_service.h"

namespace halvard {

// The table text of `number` followed by `extra`; empty for a number outside 0-19.
std::u16string MessageText(int number, std::u16string_view extra);

// Where a message goes: the prepared prompt (kind 251) for a short one, else the message box.
constexpr bool MessageFitsPrompt(bool promptPrepared, std::size_t length) {
  return promptPrepared && length < kPromptMessageLimit;
}

// The message path while no prompt is prepared: the system message box with the caption of the
// language tables.
class MessageBoxMessages : public MessageService {
 public:
  explicit MessageBoxMessages(MessageBoxSeam& box) : box_(box) {}
  void ShowMessage(int number, std::u16string_view extra = {}) override;

 private:
  MessageBoxSeam& box_;
};

// Keeps the numbers and texts it was asked to show; for tests.
class RecordingMessages : public MessageService {
 public:
  struct Shown {
    int number;
    std::u16string text;
  };
  void ShowMessage(int number, std::u16string_view extra = {}) override {
    if (number >= 0 && number < 20) shown.push_back({number, MessageText(number, extra)});
  }
  std::vector<Shown> shown;
};

}  // namespace halvard
