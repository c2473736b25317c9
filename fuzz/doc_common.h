#pragma once
// What the document targets share: sample documents made through the object
// model, and a walk over an opened document's text and bookmarks.
#include <string>

#include "doc/document.h"
#include "doc/document_block.h"

namespace brevora::fuzz {

// A named document with bookmarks and three blocks of text (markup included).
inline Ref<doc::Document> SampleDocument(int lines) {
  Ref<doc::Document> d = MakeRef<doc::Document>();
  d->InitFromDefaults();
  d->SetDocName("Story");
  d->SetSearchDocumentMode(2);
  d->SetBookmark(3, "  Chapter one", 100);
  d->SetBookmark(7, "end", 1500);
  std::string text = "<b>Title</b> &amp; caf\xE9<br>\n";
  for (int i = 0; i < lines; ++i) text += "Once upon a time, line " + std::to_string(i) + ".\n";
  std::vector<std::string> blocks;
  for (size_t at = 0; at < text.size(); at += 2048) blocks.push_back(text.substr(at, 2048));
  d->SetBlocks(std::move(blocks));
  return d;
}

inline void WalkDocument(doc::Document& d) {
  if (d.HasDocumentBlocks()) {
    for (const Ref<doc::DocumentBlock>& block : d.DocumentBlocks()) (void)block->Text();
  }
  for (int32_t i = 0; i <= 25; ++i) (void)d.BookmarkSlot(i);
  (void)d.DocName();
}

}  // namespace brevora::fuzz
