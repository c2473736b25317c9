#pragma once
// The album's one picture message: the text of the last thing that went wrong
// in the picture code, for the user to read beside a picture error. It is the
// text slides' FreeImage start-up keeps (slides/freeimage_init.h): FreeImage's
// own messages reach it through the output-message handler registered when
// the library starts; the bridge functions (freeimage_bridge.h) empty it when
// they start and store their own first failure in it. One text per thread.
#include <string>
#include <string_view>

#include "slides/freeimage_init.h"

namespace brevora::album {

std::string PictureMessage();
void SetPictureMessage(std::string_view message);
void ClearPictureMessage();

// The picture library for as long as the object lives (started, its messages
// kept). The window holds one from load to end; tests, benchmarks and fuzz
// targets hold one too.
using PictureLibrary = slides::FreeImageLibrary;

}  // namespace brevora::album
