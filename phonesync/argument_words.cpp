#include "phonesync/argument_words.h"

namespace brevora::bvsync {

std::vector<std::string> SplitArguments(std::string_view arguments) {
  std::vector<std::string> words;
  size_t i = 0;
  const size_t n = arguments.size();
  while (i < n) {
    if (arguments[i] == ' ' || arguments[i] == '\t') {
      ++i;
      continue;
    }
    std::string word;
    bool quoted = false;
    while (i < n && (quoted || (arguments[i] != ' ' && arguments[i] != '\t'))) {
      if (arguments[i] == '\\') {
        size_t backslashes = 0;
        while (i < n && arguments[i] == '\\') {
          ++backslashes;
          ++i;
        }
        if (i < n && arguments[i] == '"') {
          word.append(backslashes / 2, '\\');
          if (backslashes % 2 == 1) {
            word += '"';
            ++i;
          }
          // An even count leaves the quote to the quoting step below.
        } else {
          word.append(backslashes, '\\');
        }
        continue;
      }
      if (arguments[i] == '"') {
        quoted = !quoted;
        ++i;
        continue;
      }
      word += arguments[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

}  // namespace brevora::bvsync
