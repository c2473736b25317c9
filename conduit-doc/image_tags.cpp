#include "conduit-doc/image_tags.h"

#include <algorithm>

#include "conduit-doc/document_db_format.h"
#include "platform/fs/paths.h"

namespace brevora::scriv {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t FindNoCase(std::string_view text, std::string_view word, std::size_t from) {
  if (from > text.size()) return std::string_view::npos;
  const auto it =
      std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), word.begin(),
                  word.end(), [](char a, char b) { return Lower(a) == b; });
  return it == text.end() ? std::string_view::npos : static_cast<std::size_t>(it - text.begin());
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The quoted value of the src attribute inside a tag's text.
std::optional<std::string> SourceOf(std::string_view tag) {
  for (std::size_t at = FindNoCase(tag, "src", 0); at != std::string_view::npos;
       at = FindNoCase(tag, "src", at + 1)) {
    if (at == 0 || !IsBlank(tag[at - 1])) continue;  // part of another attribute's name
    std::size_t i = at + 3;
    while (i < tag.size() && IsBlank(tag[i])) ++i;
    if (i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && IsBlank(tag[i])) ++i;
    if (i >= tag.size() || tag[i] != '"') continue;
    const std::size_t close = tag.find('"', i + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return std::string(tag.substr(i + 1, close - i - 1));
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> FindImageTags(std::string_view html) {
  std::vector<std::string> sources;
  std::size_t at = FindNoCase(html, "<img", 0);
  while (at != std::string_view::npos) {
    const std::size_t close = html.find('>', at);
    if (close == std::string_view::npos) break;
    if (auto source = SourceOf(html.substr(at + 4, close - at - 4)))
      sources.push_back(std::move(*source));
    at = FindNoCase(html, "<img", close + 1);
  }
  return sources;
}

std::optional<std::string> PicturePath(std::string_view imageFolder, std::string_view reference) {
  if (reference.empty() || reference.find(':') != std::string_view::npos) return std::nullopt;
  std::string path(imageFolder);
  std::size_t start = 0;
  while (true) {
    std::size_t end = start;
    while (end < reference.size() && !fs::IsSeparator(reference[end])) ++end;
    const std::string_view part = reference.substr(start, end - start);
    if (!fs::IsPlainName(part)) return std::nullopt;
    path = fs::JoinPath(path, part);
    if (end == reference.size()) break;
    start = end + 1;
  }
  return path;
}

std::string PictureName(std::string_view reference) {
  std::size_t cut = reference.rfind('/');
  if (cut == std::string_view::npos) cut = reference.rfind('\\');
  std::string name(cut == std::string_view::npos ? reference : reference.substr(cut + 1));
  if (name.size() > scriv_format::kMaxPictureNameLength)
    name.resize(scriv_format::kMaxPictureNameLength);
  return name;
}

}  // namespace brevora::scriv
