#include "album/picture_messages.h"

namespace brevora::album {

std::string PictureMessage() { return slides::LastFreeImageMessage(); }
void SetPictureMessage(std::string_view message) { slides::SetLastFreeImageMessage(message); }
void ClearPictureMessage() { slides::SetLastFreeImageMessage(""); }

}  // namespace brevora::album
