// Document: .doc files, converted through the document converter (SDK_Document,
// which drives Word) and a temporary desktop file (NewDocumentTempFile).
#include "core/application.h"
#include "core/session.h"
#include "core/temp_file.h"
#include "doc/document.h"
#include "doc/document_storage.h"
#include "doc/sdk_document.h"
#include "platform/fs/files.h"

namespace brevora::doc {

namespace {

// Puts the document's binding back when the conversion is over, on every path:
// the temporary desktop file it went through is gone by then.
class BindingKeeper {
 public:
  BindingKeeper(std::string& fullPath, std::string& headerOnlySource)
      : fullPath_(fullPath),
        headerOnlySource_(headerOnlySource),
        path_(fullPath),
        source_(headerOnlySource) {}
  ~BindingKeeper() {
    fullPath_ = path_;
    headerOnlySource_ = source_;
  }
  BindingKeeper(const BindingKeeper&) = delete;
  BindingKeeper& operator=(const BindingKeeper&) = delete;

 private:
  std::string& fullPath_;
  std::string& headerOnlySource_;
  std::string path_;
  std::string source_;
};

Ref<SDK_Document> MakeConverter(const Ref<core::Application>& app) {
  Ref<SDK_Document> converter = MakeRef<SDK_Document>();
  if (app && app->Session()) converter->SetSession(app->Session());
  return converter;
}

}  // namespace

std::string NewDocumentTempFile() {
  return core::GetTempFile("SCV", "Document.GetTempFile", "Could not get temporary file.");
}

bool Document::OpenFromDOC(std::string_view docFile) {
  Ref<SDK_Document> converter = MakeConverter(app_);
  const fs::TempFileGuard temp(NewDocumentTempFile());
  const BindingKeeper binding(fullPath_, headerOnlySource_);
  converter->DOCToSCVExt(docFile, temp.path());
  return OpenFromDisk(temp.path(), true, false);
}

bool Document::WriteToDOC(std::string_view docFileView) {
  const std::string docFile(
      docFileView);  // the view may be of fullPath_ itself, which the save replaces
  Ref<SDK_Document> converter = MakeConverter(app_);
  const fs::TempFileGuard temp(NewDocumentTempFile());
  const BindingKeeper binding(fullPath_, headerOnlySource_);
  WriteToDisk(temp.path(), false);
  converter->SCVToDOCExt(temp.path(), docFile);
  return true;
}

}  // namespace brevora::doc
