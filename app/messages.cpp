#include "app/messages.h"

#include "app/language.h"

namespace halvard {

std::u16string MessageText(int number, std::u16string_view extra) {
  if (number < 0 || number >= kMessageCount) return {};
  std::u16string text(ActiveLanguage().Message(number));
  text += extra;
  return text;
}

void MessageBoxMessages::ShowMessage(int number, std::u16string_view extra) {
  if (number < 0 || number >= kMessageCount) return;
  box_.ShowStop(MessageText(number, extra), ActiveLanguage().Caption());
}

}  // namespace halvard
