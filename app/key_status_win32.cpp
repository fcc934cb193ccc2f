#include "app/key_status_win32.h"

namespace halvard {

void CUiKeyStatusWnd::Show() {
  if (model_.DisplayedPicture() != 0 && model_.DisplayedPicture() != shownPicture_) {
    LoadPicture(model_.DisplayedPicture(), true);
    shownPicture_ = model_.DisplayedPicture();
  }
  const RECT r{kPlateCaption.left, kPlateCaption.top, kPlateCaption.right, kPlateCaption.bottom};
  SetCaption(model_.Caption(), r, font_, Rgb{255, 255, 255});
}

LRESULT CUiKeyStatusWnd::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kWmMouseHover: {
      model_.MouseHover(wp, windows_);
      hover_ = model_.Hovering();
      Show();
      Redraw();
      return 0;
    }
    case kWmMouseLeave:
      tracking_ = false;
      model_.MouseLeave(windows_);
      hover_ = false;
      Show();
      Redraw();
      return 0;
    default:
      return CHoverButtonEx2::Handle(msg, wp, lp);
  }
}

void CUiKeyIndexWnd::Link(int index, CUiKeyStatusWnd* plate, HWND relay) {
  model_.index = index;
  model_.plate = plate != nullptr ? &plate->Model() : nullptr;
  model_.plateWindow = plate != nullptr ? plate->hwnd() : nullptr;
  model_.relay = relay;
  OnMouseMove([this] { model_.MouseMove(windows_); });
  OnMouseLeave([this] { model_.MouseLeave(windows_); });
}

}  // namespace halvard
