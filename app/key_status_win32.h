// The key-status plate and the button hot spots as windows.
#pragma once

#include "app/key_status.h"
#include "app/skin/controls_win32.h"
#include "platform/window_services_win32.h"

namespace halvard {

// CUiKeyStatus on the screen: a hover button whose picture and caption follow the plate model.
class CUiKeyStatusWnd : public CHoverButtonEx2 {
 public:
  CUiKeyStatus& Model() { return model_; }
  void SetCaptionFont(HFONT font) { font_ = font; }
  // Shows what the model says.
  void Show();

 protected:
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  CUiKeyStatus model_;
  Win32WindowServices windows_;
  HFONT font_ = nullptr;
  int shownPicture_ = 0;
};

// CUiKeyIndex: a hot spot over the mouse picture.
class CUiKeyIndexWnd : public CxSkinButtonExt {
 public:
  void Link(int index, CUiKeyStatusWnd* plate, HWND relay);
  HotSpotModel& Model() { return model_; }

 private:
  HotSpotModel model_;
  Win32WindowServices windows_;
};

}  // namespace halvard
