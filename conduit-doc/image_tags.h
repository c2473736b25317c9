#pragma once
// The pictures an HTML text refers to, and where the conduit may load them.
//
//   FindImageTags: for each "<img" (any case) that has a closing ">", the value
//     of its src attribute when it is given in double quotes before that ">",
//     in text order.
//   PicturePath: the picture a reference names inside the image folder; nullopt
//     for a reference that could reach outside it or is not a file there: an
//     absolute path, a URL or drive (any ":"), a "." or ".." part, an empty
//     part, a control character.
//   PictureName: the reference after its last "/" (or, when there is none,
//     its last "\"), cut to 31 bytes: the name its image records carry.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::scriv {

std::vector<std::string> FindImageTags(std::string_view html);
std::optional<std::string> PicturePath(std::string_view imageFolder, std::string_view reference);
std::string PictureName(std::string_view reference);

}  // namespace brevora::scriv
