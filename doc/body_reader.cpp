#include "doc/body_reader.h"

#include "doc/document_header.h"
#include "doc/markup.h"

namespace brevora::doc {

void BodyReader::AppendPiece(size_t i, std::string& out) const {
  const char c = source_[i];
  if (asHtml_) {
    markup::PlainCharToMarkup(c, out);
  } else if (c != '\n') {
    out += c;
  } else if (i == 0 || source_[i - 1] != '\r') {
    out += '\r';
  }
}

std::vector<std::string> BodyReader::ReadBlocks() {
  std::vector<std::string> blocks;
  std::vector<size_t> ends;  // block length after each piece of the block
  std::string piece;
  size_t pos = 0;
  while (pos < source_.size()) {
    std::string block;
    ends.clear();
    size_t i = pos;
    for (; i < source_.size(); ++i) {
      piece.clear();
      AppendPiece(i, piece);
      if (block.size() + piece.size() > static_cast<size_t>(kBlockFactor)) break;
      block += piece;
      ends.push_back(block.size());
    }
    const size_t kept = block.size() - markup::PartialTagLength(block);
    if (kept < block.size()) {
      // Keep the pieces that end within the kept text; read the others again.
      // (A cut always falls on the start of a piece; k is at least 1.)
      size_t k = 0;
      while (ends[k] <= kept) ++k;
      if (k > 0) {
        block.resize(ends[k - 1]);
        i = pos + k;
      }
    }
    if (i >= source_.size()) block.resize(markup::TrimNulls(block).size());
    blocks.push_back(std::move(block));
    pos = i;
  }
  return blocks;
}

}  // namespace brevora::doc
