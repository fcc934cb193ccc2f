// The on-screen list the instruction list drives: items with three texts and an icon, and the
// selection. The editor window binds it to its list-view control; tests use the memory form.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace halvard {

struct ListColumn {
  std::u16string_view title;
  int width;
};

class ListViewSeam {
 public:
  virtual ~ListViewSeam() = default;
  // Columns, full-row selection.
  virtual void Setup(std::span<const ListColumn> columns) = 0;
  virtual bool InsertItem(int index) = 0;
  virtual bool DeleteItem(int index) = 0;
  virtual void DeleteAllItems() = 0;
  virtual void SetItemText(int index, int column, std::u16string_view text) = 0;
  virtual void SetItemIcon(int index, int image) = 0;
  virtual int SelectedCount() const = 0;
  // The first selected item after `after` (-1: from the start), or -1.
  virtual int NextSelected(int after) const = 0;
  virtual void SetSelected(int index, bool selected) = 0;
  virtual void SetFocused(int index) = 0;
  virtual void EnsureVisible(int index) = 0;
};

// Keeps everything it is told, for tests.
class MemoryListView : public ListViewSeam {
 public:
  struct Item {
    std::u16string text[3];
    int icon = -1;
    bool selected = false;
  };
  // Titles are copied: the texts they come from may change after Setup.
  struct Column {
    std::u16string title;
    int width = 0;
  };
  void Setup(std::span<const ListColumn> cols) override {
    columns.clear();
    for (const ListColumn& c : cols) columns.push_back({std::u16string(c.title), c.width});
  }
  bool InsertItem(int index) override {
    if (failInserts || index < 0 || index > static_cast<int>(items.size())) return false;
    items.insert(items.begin() + index, Item{});
    return true;
  }
  bool DeleteItem(int index) override {
    if (index < 0 || index >= static_cast<int>(items.size())) return false;
    items.erase(items.begin() + index);
    return true;
  }
  void DeleteAllItems() override { items.clear(); }
  void SetItemText(int index, int column, std::u16string_view text) override {
    if (index >= 0 && index < static_cast<int>(items.size()) && column >= 0 && column < 3)
      items[index].text[column] = std::u16string(text);
  }
  void SetItemIcon(int index, int image) override {
    if (index >= 0 && index < static_cast<int>(items.size())) items[index].icon = image;
  }
  int SelectedCount() const override {
    int n = 0;
    for (const auto& i : items) n += i.selected ? 1 : 0;
    return n;
  }
  int NextSelected(int after) const override {
    for (int i = after + 1; i < static_cast<int>(items.size()); ++i)
      if (items[i].selected) return i;
    return -1;
  }
  void SetSelected(int index, bool selected) override {
    if (index >= 0 && index < static_cast<int>(items.size())) items[index].selected = selected;
  }
  void SetFocused(int index) override { focused = index; }
  void EnsureVisible(int index) override { visible = index; }

  // Selects exactly these rows.
  void SelectOnly(std::initializer_list<int> rows) {
    for (auto& i : items) i.selected = false;
    for (int r : rows) SetSelected(r, true);
  }

  std::vector<Column> columns;
  std::vector<Item> items;
  int focused = -1, visible = -1;
  bool failInserts = false;
};

}  // namespace halvard
