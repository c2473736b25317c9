// The conversions of a presentation database from and to a PowerPoint file
// through the presentation converter, and the temporary database file they go
// through; declared in slides/presentation_storage.h.
#include <string>

#include "core/session.h"
#include "core/temp_file.h"
#include "slides/presentation_storage.h"
#include "slides/sdk_presentation.h"

namespace brevora::slides {
namespace {

constexpr const char* kTempPrefix = "tbr";

Ref<SDK_Presentation> ConverterOn(const Ref<core::Session>& session) {
  Ref<SDK_Presentation> sdk = MakeRef<SDK_Presentation>();
  sdk->SetSession(session);
  return sdk;
}

}  // namespace

std::string NewPresentationTempFile() {
  return core::GetTempFile(kTempPrefix, "Presentation.GetTempFile", "Could not get temp file.");
}

void ConvertPptToDatabase(const Ref<core::Session>& session, std::string_view pptFile,
                          std::string_view databaseFile) {
  ConverterOn(session)->PPTToPDBExtSync(pptFile, databaseFile, "");
}

void ConvertDatabaseToPpt(const Ref<core::Session>& session, std::string_view databaseFile,
                          std::string_view pptFile) {
  ConverterOn(session)->PDBToPPTExt(databaseFile, pptFile);
}

}  // namespace brevora::slides
