// COsdProgress: the layered, topmost, shaped loading popup.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "app/progress_model.h"
#include "app/skin/gdi_win32.h"

namespace halvard {

class COsdProgress {
 public:
  ~COsdProgress() { Destroy(); }
  bool Create(const std::vector<int>& frames);
  void Show();
  void Hide();
  void Destroy();
  HWND hwnd() const { return hwnd_; }
  const ProgressAnimation& Animation() const { return *animation_; }
  HBITMAP CurrentPicture() const { return picture_.get(); }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void ShowFrame(int picture);

  HWND hwnd_ = nullptr;
  std::unique_ptr<ProgressAnimation> animation_;
  Bitmap picture_;
};

}  // namespace halvard
