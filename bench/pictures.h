#pragma once
// Pictures for benchmarks: gradients with some noise, like rendered slides,
// made with FreeImage (the caller starts the library first,
// slides/freeimage_init.h). Deterministic for a given seed.
#include <string>

#include "slides/freeimage_bitmap.h"

namespace brevora::bench {

slides::Bitmap MakePicture(int width, int height, unsigned seed);
// Saves `rgb` as PNG at `path`, reduced to 256 colours (NeuQuant) when
// `reduce`; exits the benchmark when it cannot be saved.
void SavePicture(const slides::Bitmap& rgb, bool reduce, const std::string& path);

}  // namespace brevora::bench
