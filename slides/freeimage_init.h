#pragma once
// The FreeImage start-up routine shared by the presentation pictures and the
// album tool. InitFreeImage starts the library (its plug-ins loaded) and
// registers our message handler, which keeps the text of the library's last
// message for this thread. Each call is paired with FreeImage_DeInitialise
// when the operation is done; FreeImageLibrary makes that pairing on every path.
// The library counts its start-ups, so nested pairs are fine.
#include <string>
#include <string_view>

namespace brevora::slides {

void InitFreeImage();

// The text of the last message FreeImage gave on this thread ("" when none).
std::string LastFreeImageMessage();
// Replaces that text: the album's picture code keeps its own failures there too.
void SetLastFreeImageMessage(std::string_view message);

// Starts the library for the lifetime of the object (InitFreeImage, then
// FreeImage_DeInitialise in the destructor).
class FreeImageLibrary {
 public:
  FreeImageLibrary();
  ~FreeImageLibrary();
  FreeImageLibrary(const FreeImageLibrary&) = delete;
  FreeImageLibrary& operator=(const FreeImageLibrary&) = delete;
};

}  // namespace brevora::slides
