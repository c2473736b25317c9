#pragma once
// Pictures for a handheld document, through FreeImage (the image component):
// a picture file loaded in any format FreeImage reads, halved (box filter; each
// side divided by 2, a side of 1 pixel stays 1), turned into 16-bit 5-6-5
// pixels and given as a bitmap file image (image_records.h).
//
// CreateImageObject starts the library for as long as the object lives;
// CaptureImageBits needs one. A file that can't be read as a picture, and a
// picture whose bitmap file image would need more than 256 image records, give
// nullopt: the document is written without it. Such a picture is known from
// its header before its pixels are decoded.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "slides/freeimage_init.h"

namespace brevora::scriv {

using ImageObject = std::unique_ptr<slides::FreeImageLibrary>;
ImageObject CreateImageObject();

std::optional<std::vector<uint8_t>> CaptureImageBits(const ImageObject& images,
                                                     const std::string& path);

}  // namespace brevora::scriv
