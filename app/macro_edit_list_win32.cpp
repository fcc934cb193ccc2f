#include "app/macro_edit_list_win32.h"

#include <algorithm>
#include <string>

#include "app/skin/gdi_win32.h"

namespace halvard {
namespace {

constexpr COLORREF kListGround = RGB(75, 75, 75);
constexpr COLORREF kListText = RGB(250, 250, 250);
constexpr COLORREF kSelected = RGB(150, 15, 15);
constexpr Rgb kIconKey{0, 64, 0};

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

void Win32ListView::Attach(HWND list, HFONT font) {
  Detach();
  list_ = list;
  if (list_ == nullptr) return;
  if (font != nullptr) SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES | LVS_EX_DOUBLEBUFFER);
  ListView_SetBkColor(list_, kListGround);
  ListView_SetTextBkColor(list_, kListGround);
  ListView_SetTextColor(list_, kListText);
  images_ = ImageList_Create(kKindIconWidth, kKindIconHeight, ILC_COLOR24 | ILC_MASK, kKindIconCount, 0);
  Bitmap strip = LoadPicture(kPictureKindIcons);
  if (images_ != nullptr && strip)
    ImageList_AddMasked(images_, strip.get(), RGB(kIconKey.r, kIconKey.g, kIconKey.b));
  ListView_SetImageList(list_, images_, LVSIL_SMALL);
}

void Win32ListView::Detach() {
  if (list_ != nullptr && IsWindow(list_)) ListView_SetImageList(list_, nullptr, LVSIL_SMALL);
  if (images_ != nullptr) ImageList_Destroy(images_);
  images_ = nullptr;
  list_ = nullptr;
}

void Win32ListView::Setup(std::span<const ListColumn> columns) {
  if (list_ == nullptr) return;
  for (int n = Header_GetItemCount(ListView_GetHeader(list_)); n > 0; --n) ListView_DeleteColumn(list_, n - 1);
  // The last column ends at the list's edge, less its scroll bar: no sideways scrolling.
  RECT client{};
  GetClientRect(list_, &client);
  int room = client.right - GetSystemMetrics(SM_CXVSCROLL);
  int c = 0;
  for (const ListColumn& col : columns) {
    std::wstring title = W(col.title);
    LVCOLUMNW lc{};
    lc.mask = LVCF_TEXT | LVCF_WIDTH;
    lc.pszText = title.data();
    const bool last = c + 1 == static_cast<int>(columns.size());
    lc.cx = last && room > 0 ? std::min(col.width, room) : col.width;
    room -= lc.cx;
    SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c++), reinterpret_cast<LPARAM>(&lc));
  }
  if (header_.hwnd() == nullptr || header_.hwnd() != ListView_GetHeader(list_))
    header_.Attach(ListView_GetHeader(list_), reinterpret_cast<HFONT>(SendMessageW(list_, WM_GETFONT, 0, 0)));
  if (scrollbar_.hwnd() == nullptr || GetParent(scrollbar_.hwnd()) != GetParent(list_)) scrollbar_.Attach(list_);
}

bool Win32ListView::InsertItem(int index) {
  if (list_ == nullptr) return false;
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(L"");
  return SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) == index;
}

bool Win32ListView::DeleteItem(int index) { return list_ != nullptr && ListView_DeleteItem(list_, index); }

void Win32ListView::DeleteAllItems() {
  if (list_ != nullptr) ListView_DeleteAllItems(list_);
}

void Win32ListView::SetItemText(int index, int column, std::u16string_view text) {
  if (list_ == nullptr) return;
  std::wstring t = W(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = t.data();
  SendMessageW(list_, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void Win32ListView::SetItemIcon(int index, int image) {
  if (list_ == nullptr) return;
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  item.iSubItem = 1;  // the icon stands before the instruction; the number column is hidden
  item.iImage = image;
  SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int Win32ListView::SelectedCount() const { return list_ == nullptr ? 0 : ListView_GetSelectedCount(list_); }

int Win32ListView::NextSelected(int after) const {
  return list_ == nullptr ? -1 : ListView_GetNextItem(list_, after, LVNI_SELECTED);
}

void Win32ListView::SetSelected(int index, bool selected) {
  if (list_ != nullptr) ListView_SetItemState(list_, index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void Win32ListView::SetFocused(int index) {
  if (list_ != nullptr) ListView_SetItemState(list_, index, LVIS_FOCUSED, LVIS_FOCUSED);
}

void Win32ListView::EnsureVisible(int index) {
  if (list_ != nullptr) ListView_EnsureVisible(list_, index, FALSE);
}

void Win32ListView::Wheel(short delta) {
  if (list_ == nullptr) return;
  const int count = ListView_GetItemCount(list_);
  const int page = ListView_GetCountPerPage(list_);
  const int top = ListView_GetTopIndex(list_);
  RECT r{};
  ListView_GetItemRect(list_, 0, &r, LVIR_BOUNDS);
  const int rowHeight = r.bottom - r.top > 0 ? r.bottom - r.top : 17;
  const int target = delta < 0 ? std::min(top + page, std::max(0, count - 1)) : std::max(0, top - 1);
  ListView_Scroll(list_, 0, (target - top) * rowHeight);
}

LRESULT Win32ListView::CustomDraw(NMLVCUSTOMDRAW& draw) const {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const int item = static_cast<int>(draw.nmcd.dwItemSpec);
      const bool selected = ListView_GetItemState(list_, item, LVIS_SELECTED) != 0;
      draw.clrText = kListText;
      draw.clrTextBk = selected ? kSelected : kListGround;
      // The list view would paint its own highlight over ours.
      if (selected) draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
      return CDRF_NEWFONT;
    }
    default: return CDRF_DODEFAULT;
  }
}

}  // namespace halvard
