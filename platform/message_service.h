// The numbered messages the user sees, as the parts below the main program ask for them.
#pragma once

#include <cstddef>
#include <string_view>

namespace halvard {

inline constexpr int kMsgTooManyInstances = 0;
inline constexpr int kMsgNoMouse = 1;
inline constexpr int kMsgCantFindPath = 2;
inline constexpr int kMsgBadFileFormat = 3;
inline constexpr int kMsgLoadEepromFailed = 4;
inline constexpr int kMsgLoadConfigFailed = 5;
inline constexpr int kMsgSaveConfigFailed = 6;
inline constexpr int kMsgLoadScriptFailed = 7;
inline constexpr int kMsgSaveScriptFailed = 8;
inline constexpr int kMsgWriteFailed = 9;
inline constexpr int kMsgNoLeftButton = 10;
inline constexpr int kMsgBadSelectedMacro = 11;
inline constexpr int kMsgBufferFull = 12;
inline constexpr int kMsgCantConnect = 13;
inline constexpr int kMsgNoSelectedItem = 14;
inline constexpr int kMsgCantFindDocument = 15;
inline constexpr int kMsgRecordFailed = 16;
inline constexpr int kMsgClearMacro = 17;
inline constexpr int kMsgOverwrite = 18;
inline constexpr int kMsgMacroExists = 19;

// Messages of fewer characters than this fit the prompt's text line.
inline constexpr std::size_t kPromptMessageLimit = 40;

class MessageService {
 public:
  virtual ~MessageService() = default;
  // Numbers outside 0-19 are ignored.
  virtual void ShowMessage(int number, std::u16string_view extra = {}) = 0;
};

}  // namespace halvard
