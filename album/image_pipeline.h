#pragma once
// The album's picture pipeline: a picture file decoded once into a 24-bit
// DibSection, scaled by the album's own resampler (DibSection::Resample) to the
// exact size asked for (the aspect ratio is not kept), reduced to the slide
// colour depth and written as PNG: the slide picture and its 80 x 60 thumbnail.
// Also the picture the preview box shows. One buffer goes through: the
// section is a FreeImage bitmap, so the resampled picture is reduced and
// encoded as it is.
//
// Failures raise error 32751 (source "Albumet") with the procedure's message;
// the picture message (picture_messages.h) then holds what FreeImage or the
// bridge said. The picture library must be started (PictureLibrary).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "album/dib_section.h"
#include "album/slide_node.h"
#include "slides/freeimage_bitmap.h"

namespace brevora::album {

class DecodedPicture;

inline constexpr int32_t kPictureError = 32751;
inline constexpr const char* kPictureSource = "Albumet";
inline constexpr int32_t kThumbnailWidth = 80;
inline constexpr int32_t kThumbnailHeight = 60;

// True when FreeImage recognises the file's type (from its first bytes).
bool IsSupportedImageFile(std::string_view path);

// The picture as FreeImage loads it (flags 0). 32751 "loadDIBFromPath:
// Attempted to load invalid image file" for a file of no known picture type,
// "loadDIBFromPath: Error in loading DIB" for one that fails to load.
slides::Bitmap LoadDibFromPath(std::string_view path);

// The picture of a file as a 24-bit section (LoadDibFromPath, then the bridge);
// 32751 "loadDIBFromPath: Unable to convert image to 24 bits" when the loaded
// picture can't be made one.
DibSection DecodePicture(std::string_view path);

// The picture resampled to exactly width x height, as a new section. 32751
// "resizeDIB: Unable to create dest DIB Section" when it can't be made (a size
// below 1, or too large).
DibSection ResizeDib(const DibSection& picture, int32_t width, int32_t height);

// The bitmap reduced to `depth` bits a pixel. Unchanged when depth is not below
// its bits a pixel or it has 8 or fewer; otherwise a depth below 8 becomes 8
// and 16 becomes 24 (also in the caller's `depth`), and the colour ladder
// (slides/freeimage_reduce.h) converts: 8 gives a 256-colour NeuQuant palette,
// 24 and 32 that many bits, any other depth the bitmap unchanged. A
// conversion that fails gives null.
//
// The pipeline hands it the resampled section, of 24 bits: every depth above 8
// then gives those 24 bits (a 32-bit conversion is not below them). FreeImage
// writes an opaque 32-bit picture as the very PNG of its 24 bits, so the files
// are those the 32-bit resized bitmap of the picture's bridge used to give.
slides::Bitmap OptimizeDibColors(slides::Bitmap bitmap, int32_t& depth);

// Writes the entry's thumbnail (80 x 60, reduced to `depth`) from its decoded
// picture to folder + "image" + number + "_thumb.png" and sets ThumbnailPath.
void MakeThumbnailImage(std::string_view folder, SlideNode& entry, int32_t& depth,
                        const DibSection& picture);
// The same for the slide picture: width x height, folder + "image" + number +
// ".png", PresImagePath.
void MakeSlideImage(std::string_view folder, SlideNode& entry, int32_t width, int32_t height,
                    int32_t& depth, const DibSection& picture);
// Every entry in order: its picture decoded once, then the thumbnail and the
// slide picture. A picture `decoded` holds of the entry's file, unchanged, is
// taken from there instead of being decoded again. Returns the files written,
// in the order they were written. Each PNG goes through a temporary file
// renamed into place; one that can't be written raises 32751 naming the file,
// and the entries that follow are not made.
std::vector<std::string> MakeAllSlideImages(std::string_view folder,
                                            std::vector<SlideNode>& entries, int32_t width,
                                            int32_t height, int32_t depth,
                                            const DecodedPicture* decoded = nullptr);

// The picture of a file for the preview; nothing (nullopt) for a file that is
// not a picture or fails to load or convert. Never raises.
std::optional<DibSection> DecodeForPreview(std::string_view path);
// What a preview box of boxWidth x boxHeight pixels shows of a picture: the
// picture at its own size, or resampled to exactly the box's size when it is
// wider or higher than the box; nothing for a box too small to draw in.
std::optional<DibSection> FitPreview(const DibSection& picture, int32_t boxWidth,
                                     int32_t boxHeight);
// Both in one.
std::optional<DibSection> PreviewPicture(std::string_view path, int32_t boxWidth,
                                         int32_t boxHeight);

}  // namespace brevora::album
