#pragma once
// Scrivane, the document conduit, on the conduit framework: its product
// description (ScrivaneProduct, which the plug-in hands to the framework) and
// the classes the framework asks for: CHandheldDocument or CHandheldDocument_V5
// by database version, the header of a desktop document, the copy of one
// document in each direction, and the converter of linked office documents.
//
// Handheld databases of versions 1, 3, 4 and 5 are listed (a block of another
// document version is refused by the listing); only versions 3 to 5 are copied
// to the desktop, and desktop documents of versions 3 to 5 to the handheld: any
// other is logged "Unrecognized document version -- cannot synchronize with
// Scrivane." and left as it is on both sides.
#include <cstdint>
#include <optional>
#include <string>

#include "conduit-doc/document_info.h"
#include "conduit-framework/product.h"

namespace brevora::scriv {

inline constexpr const char* kUnrecognizedVersion =
    "Unrecognized document version -- cannot synchronize with Scrivane.";

// Names, codes and classes of the document conduit; one for the process.
const conduit::Product& ScrivaneProduct();

// The header the framework reads of the desktop document `path`.
std::optional<conduit::DesktopHeader> ReadDocumentHeader(const std::string& path);

// The link of a document header, as the framework keeps links in step; nullopt
// when the header names no office file.
std::optional<conduit::LinkInfo> LinkOf(const CDocumentHeader& header);

}  // namespace brevora::scriv
