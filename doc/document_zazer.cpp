// The copy into a RivorOdurov server database object, reached late-bound. The
// bytes of the blocks are in doc/zazer_format.h.
#include "doc/document_storage.h"

#include "core/module_error.h"
#include "doc/zazer_format.h"
#include "doc/zazer_records.h"
#include "office/server_database.h"
#include "platform/automation/call_by_name.h"

namespace brevora::doc {

namespace {

void SetRecord(Dispatch& db, std::vector<uint8_t> bytes) {
  CallByName(db, "SetRecordBinaryData", CallKind::Method, std::move(bytes));
}

}  // namespace

void WriteDocumentServerDatabase(DocumentModel& model, Dispatch& zazerDB) {
  const Ref<Dispatch> db(&zazerDB);  // held for the whole call
  try {
    CallByName(*db, "setVersion", CallKind::Method, model.version);
    // The link properties are the header's own fields: nothing to copy back.
    model.header.serverSync = 1;
    CallByName(*db, "SetAppInfoBinaryData", CallKind::Method,
               EncodeZazerAppInfo(model.header,
                                  {.version = model.version, .isModified = model.isModified}));
    CallByName(*db, "MoveFirst", CallKind::Method);

    const std::vector<std::string_view> texts =
        model.blocks ? model.blocks->Texts() : std::vector<std::string_view>();
    office::AddServerRecord(*db);
    SetRecord(*db, EncodeZazerHeaderRecord(model.header, texts));
    CallByName(*db, "SetRecordCategory", CallKind::Method, model.category);

    const bool compressed = model.header.compression == zazer_format::kCompressedFlag;
    for (std::string_view text : texts) {
      office::AddServerRecord(*db);
      SetRecord(*db, EncodeZazerTextRecord(text, compressed));
    }
    // The bookmarks the files store: the non-empty slots 1 to 25.
    for (const Bookmark& bookmark : model.header.StoredBookmarks()) {
      office::AddServerRecord(*db);
      SetRecord(*db, EncodeZazerBookmarkRecord(bookmark));
    }
    office::SetServerCreationTime(*db);
  } catch (...) {
    throw core::AsModuleError(CurrentError());
  }
}

}  // namespace brevora::doc
