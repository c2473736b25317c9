#pragma once
// PNG colour-depth reduction: a picture file reduced to a number of bits per
// pixel and saved as PNG, by two paths with the same arguments (source path,
// target path, which may be the source, and the depth, by reference: a depth of
// 16 reads 24 afterwards once the source could be opened).
//
// The target is never removed before the new picture is complete: every write
// is a temporary file renamed over it, also when target and source are the same
// file. A source that is not a picture is copied unchanged to a different
// target; when it is the target, it stays as it is.
#include <cstdint>
#include <string_view>

namespace brevora::slides {

// The library path: FreeImage called directly. When the depth is below the
// picture's, depth 1-4 gives a grey 256-colour palette picture, 5-8 a 256-colour
// NeuQuant palette, 24 and 32 that many bits, and any other depth the picture
// as loaded. When the depth is not below the picture's, nothing is written
// (the target, different or not, keeps what it held). A conversion that fails
// writes nothing. File errors raise unchanged (platform/fs).
void OptimizePngFileDLL(std::string_view source, std::string_view target, int16_t& depth);

// The image-class path: "FreeImage.Image" driven late-bound (Open, ChangeColors
// with 24 and then ChangeColorsValue(depth), Save). A failed conversion copies
// the source unchanged to a different target. Errors (the class can't be
// created, a file operation fails, Save reports a failure) raise 32760
// "Presentation.optimizePngFile".
void OptimizePngFile(std::string_view source, std::string_view target, int16_t& depth);

// The ChangeColors value for a depth: 4 or less 8; 8 or less 256; 16 or less
// 16; 24 or less 24; above 32.
int32_t ChangeColorsValue(int32_t depth);

// True when both paths name the same file (the same spelling, or the same file
// on disk reached through another one).
bool SameFile(std::string_view a, std::string_view b);

}  // namespace brevora::slides
