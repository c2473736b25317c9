#pragma once
// Album: the entries of the album window in their order, the entry being edited
// (current) and the counter that gives out the entries' keys. Qt-free: the
// window shows what it holds (one list line per entry, in entry order, showing
// the title; the editor showing the current entry) and calls the operations
// below from its event handlers.
//
// Invariants: the slide numbers are 1..n in entry order; current is -1 or the
// list position of an entry, and it is always the selected list line.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "album/slide_node.h"

namespace brevora::album {

class Album {
 public:
  const std::vector<SlideNode>& Entries() const { return entries_; }
  std::vector<SlideNode>& Entries() { return entries_; }
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  // The list position of the entry being edited; -1 when none.
  int32_t Current() const { return current_; }
  // The entry at current; null when none.
  const SlideNode* CurrentNode() const;
  // The counter for the next entry's key (0 for a new album).
  int16_t NextId() const { return nextId_; }

  // A new last entry for the picture: number n + 1, title "Slide #" n + 1, the
  // next key. Current stays as it is. An album whose keys or numbers are used
  // up (32767) raises 6 "Overflow" and stays as it was.
  const SlideNode& AddImage(std::string_view path);

  // The user selected list line `line` (-1: none); a line past the end selects
  // nothing.
  void Select(int32_t line);

  // The user picked `number` (1..n) for the current entry: the entry holding
  // that number takes the current entry's old one, the entries are sorted by
  // number and current follows the moved entry. No current entry, or a number
  // outside 1..n: nothing changes.
  void MoveCurrentTo(int32_t number);

  // Removes the current entry and closes its gap in the numbers. Current then
  // is the line before it, the new first line when the first was deleted, or -1
  // when the album is empty. No current entry: nothing changes.
  void DeleteCurrentEntry();

  // The current entry's title (and with it its list line); no current entry:
  // nothing changes.
  void SetCurrentTitle(std::string_view title);

  // Removes every entry; current -1. The key counter goes on.
  void ClearAlbum();

  // An opened presentation's slides, in slide order.
  struct OpenedSlide {
    std::string fullPath;
    std::string title;
  };
  // Replaces the whole album by these entries, numbered 1..n in the given
  // order with keys from the counter, and selects the first line (-1 when there
  // is none). Raises 6 and changes nothing when the keys would run out.
  void ReplaceWith(const std::vector<OpenedSlide>& slides);

 private:
  int16_t TakeId();

  std::vector<SlideNode> entries_;
  int32_t current_ = -1;
  int16_t nextId_ = 0;
};

}  // namespace brevora::album
