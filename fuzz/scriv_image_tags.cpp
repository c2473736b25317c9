// Fuzzes the "<img" scanner of the document conduit and where the pictures it
// finds are taken from: every source is text of the input, every picture path
// lies inside the image folder (no "." or ".." part, no empty part, no ":"),
// and every picture name is at most 31 bytes.
#include <string>
#include <vector>

#include "conduit-doc/image_tags.h"
#include "fuzz/fuzz_target.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  return {
      {"tags.htm",
       "<p><img src=\"a.png\"> and <IMG SRC = \"b/c.jpg\" alt=\"x\"></p><img datasrc=\"x\" "
       "src=\"..\\up.png\">"},
      {"bad.htm",
       "<img src=\"/etc/passwd\"><img src=\"http://x/y.png\"><img src='q.png'><img src=\"open"},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using namespace brevora::scriv;
  const std::string_view html(reinterpret_cast<const char*>(data), size);
  const std::string folder = "/home/u/Scrivane/scriv_temp";
  Must("the image scanner", [&] {
    for (const std::string& source : FindImageTags(html)) {
      Check(html.find(source) != std::string_view::npos, "a source that is not in the text");
      Check(PictureName(source).size() <= 31, "a picture name over 31 bytes");
      const auto path = PicturePath(folder, source);
      if (!path) continue;
      Check(path->starts_with(folder + "/"), "a picture outside the image folder");
      const std::string rest = path->substr(folder.size());
      Check(rest.find("/../") == std::string::npos && !rest.ends_with("/..") &&
                rest.find("/./") == std::string::npos && rest.find("//") == std::string::npos &&
                rest.find(':') == std::string::npos,
            "a picture path that could leave the folder: " + *path);
    }
  });
  return 0;
}
