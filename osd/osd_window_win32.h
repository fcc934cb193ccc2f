// COsdWnd: the display window. A borderless, topmost, translucent, picture-shaped popup that
// never takes the focus; every decision is COsdModel's, this class only carries it out.
#pragma once

#include <windows.h>

#include "osd/osd_model.h"
#include "platform/registry_seam_win32.h"
#include "platform/window_services.h"
#include "store/registry_store.h"

namespace halvard::osd {

inline constexpr char kOsdWindowClass[] = "HalvardOsdWnd";
inline constexpr BYTE kOsdAlpha = 220;

class COsdWnd : public OsdWindowPort {
 public:
  COsdWnd(HINSTANCE module, OsdSharedSection& table);
  ~COsdWnd() override;
  COsdWnd(const COsdWnd&) = delete;
  COsdWnd& operator=(const COsdWnd&) = delete;

  // Registers the class, creates the hidden window and publishes its handle. False on failure.
  bool Create();
  HWND hwnd() const { return hwnd_; }
  void StopTimers() { model_.OnDestroy(); }

  // OsdWindowPort
  bool HasPictures() override { return module_ != nullptr; }
  std::optional<OsdImage> LoadPicture(int id) override;
  void SetPicture(const OsdImage& picture, const std::vector<ShapeRun>& shape) override;
  void Place(const OsdRect& rect) override;
  void ShowWindow() override;
  void HideWindow() override;
  void Invalidate() override;
  void SetTimer(std::uint32_t id, std::uint32_t ms) override;
  void KillTimer(std::uint32_t id) override;
  OsdPoint PointerPosition() override;
  PictureSize ScreenSize() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnEraseBackground(HDC dc);
  void MakeTranslucent();

  HINSTANCE module_;
  HWND hwnd_ = nullptr;
  HBITMAP picture_ = nullptr;  // the composed picture, painted as the background
  SIZE pictureSize_{};
  Win32Registry registry_;
  RegistryStoreA store_{registry_};
  COsdModel model_;
};

}  // namespace halvard::osd
