#include "album/album.h"

#include <algorithm>
#include <limits>

#include "platform/error/error.h"

namespace brevora::album {
namespace {

constexpr int32_t kMaxInteger = std::numeric_limits<int16_t>::max();
constexpr int32_t kOverflow = 6;

}  // namespace

const SlideNode* Album::CurrentNode() const {
  if (current_ < 0 || current_ >= Count()) return nullptr;
  return &entries_[static_cast<size_t>(current_)];
}

int16_t Album::TakeId() {
  if (nextId_ == kMaxInteger) RaiseRuntimeError(kOverflow);
  return nextId_++;
}

const SlideNode& Album::AddImage(std::string_view path) {
  if (Count() >= kMaxInteger) RaiseRuntimeError(kOverflow);
  SlideNode node;
  node.fullPath = std::string(path);
  node.slideNumber = static_cast<int16_t>(Count() + 1);
  node.title = "Slide #" + std::to_string(node.slideNumber);
  node.uniqueId = TakeId();
  entries_.push_back(std::move(node));
  return entries_.back();
}

void Album::Select(int32_t line) { current_ = (line >= 0 && line < Count()) ? line : -1; }

void Album::MoveCurrentTo(int32_t number) {
  if (current_ < 0 || number < 1 || number > Count()) return;
  SlideNode& moved = entries_[static_cast<size_t>(current_)];
  const int16_t oldNumber = moved.slideNumber;
  const int16_t movedId = moved.uniqueId;
  for (SlideNode& other : entries_) {
    if (other.uniqueId != movedId && other.slideNumber == number) other.slideNumber = oldNumber;
  }
  moved.slideNumber = static_cast<int16_t>(number);
  std::stable_sort(entries_.begin(), entries_.end(), [](const SlideNode& a, const SlideNode& b) {
    return a.slideNumber < b.slideNumber;
  });
  const auto it = std::find_if(entries_.begin(), entries_.end(),
                               [&](const SlideNode& e) { return e.uniqueId == movedId; });
  current_ = static_cast<int32_t>(it - entries_.begin());
}

void Album::DeleteCurrentEntry() {
  if (current_ < 0 || current_ >= Count()) return;
  const int16_t removed = entries_[static_cast<size_t>(current_)].slideNumber;
  entries_.erase(entries_.begin() + current_);
  for (SlideNode& e : entries_) {
    if (e.slideNumber > removed) --e.slideNumber;
  }
  if (current_ > 0) {
    --current_;
  } else {
    current_ = entries_.empty() ? -1 : 0;
  }
}

void Album::SetCurrentTitle(std::string_view title) {
  if (current_ < 0 || current_ >= Count()) return;
  entries_[static_cast<size_t>(current_)].title = std::string(title);
}

void Album::ClearAlbum() {
  entries_.clear();
  current_ = -1;
}

void Album::ReplaceWith(const std::vector<OpenedSlide>& slides) {
  if (slides.size() > static_cast<size_t>(kMaxInteger) ||
      static_cast<int32_t>(slides.size()) > kMaxInteger - nextId_) {
    RaiseRuntimeError(kOverflow);
  }
  std::vector<SlideNode> entries;
  entries.reserve(slides.size());
  for (const OpenedSlide& s : slides) {
    SlideNode node;
    node.fullPath = s.fullPath;
    node.title = s.title;
    node.slideNumber = static_cast<int16_t>(entries.size() + 1);
    node.uniqueId = TakeId();
    entries.push_back(std::move(node));
  }
  entries_ = std::move(entries);
  current_ = entries_.empty() ? -1 : 0;
}

}  // namespace brevora::album
