// The instruction list's on-screen side: a report-style list view with the skinned header and
// scroll bar, the sixteen kind icons in the INSTRUCTION column and the red selection.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "app/skin/more_controls_win32.h"
#include "macro/list_view.h"

namespace halvard {

// The picture strip of the kind icons: 16 images of 24 x 16, index = kind.
inline constexpr int kPictureKindIcons = 2730;
inline constexpr int kKindIconWidth = 24, kKindIconHeight = 16, kKindIconCount = 16;

class Win32ListView : public ListViewSeam {
 public:
  ~Win32ListView() override { Detach(); }
  // Takes over a list-view control for one opening of the editor.
  void Attach(HWND list, HFONT font);
  void Detach();
  HWND hwnd() const { return list_; }
  // The list view's custom-draw notification, for the owner to hand over.
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;
  // The wheel: a page toward the user, one row away from the user.
  void Wheel(short delta);

  void Setup(std::span<const ListColumn> columns) override;
  bool InsertItem(int index) override;
  bool DeleteItem(int index) override;
  void DeleteAllItems() override;
  void SetItemText(int index, int column, std::u16string_view text) override;
  void SetItemIcon(int index, int image) override;
  int SelectedCount() const override;
  int NextSelected(int after) const override;
  void SetSelected(int index, bool selected) override;
  void SetFocused(int index) override;
  void EnsureVisible(int index) override;

 private:
  HWND list_ = nullptr;
  HIMAGELIST images_ = nullptr;
  CSkinHeaderCtrl header_;
  CSkinVerticleScrollbar scrollbar_;
};

}  // namespace halvard
