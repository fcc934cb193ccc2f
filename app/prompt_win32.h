// CSkinDlg: the one modal, picture-skinned prompt of the main program, and the message path
// that shows the numbered messages in it or in a system message box.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/messages.h"
#include "app/prompt_model.h"
#include "app/skin/controls_win32.h"
#include "app/skin/more_controls_win32.h"
#include "platform/file_seam.h"

namespace halvard {

class LanguageTables;

// Pictures of the prompt's buttons: OK, CANCEL and YES strips, and the radio button.
inline constexpr int kPictureOk = 1900;
inline constexpr int kPictureCancel = 1901;
inline constexpr int kPictureYes = 1902;
inline constexpr int kPictureRadioOn = 1903;
inline constexpr int kPictureRadioOff = 1904;

class CSkinDlg {
 public:
  explicit CSkinDlg(FileSeam& files) : files_(files) {}
  ~CSkinDlg();

  // Fields the owner sets and reads.
  int kind = kPromptMessage;
  std::u16string text;  // at most 159 characters
  int value = 0;
  int choice = -1;
  std::u16string macroPath;

  void Prepare(HFONT textFont, HFONT listFont);
  bool Prepared() const { return prepared_; }
  // Modal; kPromptResultOk or kPromptResultCancel.
  int Run(HWND owner);

  // For the gallery and tests: open without a modal loop, act on it, close.
  HWND OpenModeless(HWND owner);
  void Close(int result);
  HWND Window() const { return hwnd_; }
  HWND NameField() const { return name_; }
  HWND CountField() const { return count_; }
  HWND List() const { return list_; }
  CxSkinButton* Radio(int i) { return radios_[i].get(); }
  CHoverButtonEx2* OkButton() { return ok_.get(); }
  CHoverButtonEx2* CancelButton() { return cancel_.get(); }
  // The tooltip control of the four repeat radio buttons (the macro kind only).
  HWND RadioTooltips() const { return radioTips_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  bool Open(HWND owner);
  void Layout();
  void AddRadioTooltips(const LanguageTables& lang);
  void OnCommand(int id, int code);
  void TakeResults();

  FileSeam& files_;
  HWND hwnd_ = nullptr, owner_ = nullptr;
  HWND name_ = nullptr, count_ = nullptr, list_ = nullptr;
  std::unique_ptr<CHoverButtonEx2> ok_, cancel_;
  std::unique_ptr<CxSkinButton> radios_[4];
  HWND radioTips_ = nullptr;  // owned by the prompt window, destroyed with it
  std::unique_ptr<CColorCombox> combo_;
  Bitmap picture_;
  Brush ground_, field_;
  HFONT textFont_ = nullptr, listFont_ = nullptr;
  HICON icon_ = nullptr;
  bool prepared_ = false, done_ = false;
  int result_ = kPromptResultCancel;
  MacroChoiceList macros_;
};

// The message path with a prompt: short messages in the prepared prompt (kind 251), everything
// else in the system message box.
class PromptMessages : public MessageService {
 public:
  PromptMessages(CSkinDlg& prompt, MessageBoxSeam& box, HWND owner) : prompt_(prompt), box_(box), owner_(owner) {}
  void ShowMessage(int number, std::u16string_view extra = {}) override;

 private:
  CSkinDlg& prompt_;
  MessageBoxSeam& box_;
  HWND owner_;
};

}  // namespace halvard
