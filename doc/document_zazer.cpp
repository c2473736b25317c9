// Document: the copy into a RivorOdurov server database object, reached
// late-bound. The bytes of the blocks are in doc/zazer_format.h.
#include "core/module_error.h"
#include "doc/document.h"
#include "doc/zazer_format.h"
#include "doc/zazer_records.h"
#include "office/server_database.h"
#include "platform/automation/call_by_name.h"

namespace brevora::doc {

namespace {

constexpr int32_t kNotImplementedError = 0x114;

void SetRecord(Dispatch& db, std::vector<uint8_t> bytes) {
  CallByName(db, "SetRecordBinaryData", CallKind::Method, std::move(bytes));
}

}  // namespace

void Document::WriteToZazerDB(Dispatch& zazerDB) {
  const Ref<Dispatch> db(&zazerDB);  // held for the whole call
  try {
    CallByName(*db, "setVersion", CallKind::Method, version_);
    // The link properties are the header's own fields: nothing to copy back.
    SetIsServerSync(true);
    CallByName(*db, "SetAppInfoBinaryData", CallKind::Method,
               EncodeZazerAppInfo(header_, {.version = version_, .isModified = isModified_}));
    CallByName(*db, "MoveFirst", CallKind::Method);

    const std::vector<std::string_view> texts = blocks_ ? blocks_->Texts() : std::vector<std::string_view>();
    office::AddServerRecord(*db);
    SetRecord(*db, EncodeZazerHeaderRecord(header_, texts));
    CallByName(*db, "SetRecordCategory", CallKind::Method, category_);

    const bool compressed = header_.compression == zazer_format::kCompressedFlag;
    for (std::string_view text : texts) {
      office::AddServerRecord(*db);
      SetRecord(*db, EncodeZazerTextRecord(text, compressed));
    }
    // The bookmarks the files store: the non-empty slots 1 to 25.
    for (const Bookmark& bookmark : header_.StoredBookmarks()) {
      office::AddServerRecord(*db);
      SetRecord(*db, EncodeZazerBookmarkRecord(bookmark));
    }
    office::SetServerCreationTime(*db);
  } catch (...) {
    throw core::AsModuleError(CurrentError());
  }
}

bool Document::OpenFromZazerDB(const Variant&) {
  RaiseError(kObjectError + kNotImplementedError, "OpenFromZazerDB", "Function not yet implemented.");
}

}  // namespace brevora::doc
