#pragma once
// Albums as presentations: Save As writes the album as a handheld presentation
// database (one slide per entry: its picture, thumbnail and title line) and
// Open reads one back into an album. Both work through the connectivity
// module's objects created by ProgID ("TabulynPC.Session",
// "TabulynPC.SlidrOptions") and called by name only: the Session's application
// object (whose save and open windows the chooser shows) and the presentation
// the Session hands out, with its slides and outlines.
//
// Errors raise as the objects raised them, with these of our own: 380
// "Unable to access Slidora Options" (source "SlidrExport") when the options
// can't be had; 32751 from the picture pipeline (image_pipeline.h); 32751
// "Image files do not exist, import failed." (source "Slidr Add-in") when an
// opened presentation's pictures are missing. A failed save or open leaves the
// album as it was; a failed save also leaves the existing presentation file
// and the files in its image folder as they were.
#include <memory>
#include <string>
#include <string_view>

#include "album/album.h"
#include "album/decoded_picture.h"
#include "album/presentation_chooser.h"
#include "platform/fs/temp_folder.h"

namespace brevora::album {

inline constexpr int32_t kInvalidPropertyValue = 380;

// The album's folders of pictures: "tbrXXXXXX" in the system temporary folder,
// removed with what is in them when they end.
inline fs::TempFolder::Options PictureFolder() { return {.prefix = "tbr"}; }

// Save As. The chooser is offered "Untitled"; false when it was cancelled
// (nothing written). Each picture is decoded once (or taken from `decoded`
// when that holds it, unchanged) and rendered into a private staging folder
// (PictureFolder) before the image folder is touched. On success the entries
// carry the paths of the pictures written.
bool SaveAlbumAs(Album& album, PresentationChooser& chooser,
                 const DecodedPicture* decoded = nullptr);

// Open. False when the chooser was cancelled (nothing changed). The slides'
// pictures are copied into a new PictureFolder as image1.png .. imageN.png,
// the entries numbered 1..n in slide order; on success that folder replaces
// `pictures` (the previous album's copies go with the previous folder) and the
// first entry is current.
bool OpenAlbum(Album& album, PresentationChooser& chooser,
               std::unique_ptr<fs::TempFolder>& pictures);

// The text after the last separator ("\" or "/") of the path, without its last
// "." and what follows; a name without "." whole.
std::string ExtractName(std::string_view path);

// Makes the folder (not its parents) when there is none; errors are ignored.
// True when it existed already.
bool EnsureFolder(std::string_view path);

}  // namespace brevora::album
