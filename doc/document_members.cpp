// Document's late-bound members.
#include "core/session.h"
#include "doc/document.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"

namespace brevora::doc {

namespace {

std::string OptionalString(const Variant& v) { return v.IsMissing() ? std::string() : CStr(v); }
bool OptionalBool(const Variant& v) { return v.IsMissing() ? false : CBool(v); }

}  // namespace

const MemberTable<Document>& Document::Members() {
  using M = CallKind;
  using D = Document;
  static const MemberTable<Document> table{
      {"AddEscapeCodes", M::Method,
       [](D&, Args a) {
         std::string text = CStr(a[0]);
         AddEscapeCodes(text);
         a[0] = Variant(text);
         return Variant(text);
       },
       1},
      {"OpenFromPDB", M::Method, [](D& d, Args a) { return Variant(d.OpenFromPDB(CStr(a[0]))); },
       1},
      {"OpenFromDOCPDB", M::Method,
       [](D& d, Args a) { return Variant(d.OpenFromDOCPDB(CStr(a[0]))); }, 1},
      {"Session", M::Set, [](D& d, Args a) { d.SetSession(ObjectOrNothing<core::Session>(a[0])); }},
      {"Session", M::Get, [](D& d, Args) { return Variant(d.Session()); }},
      {"SetBookmark", M::Method,
       [](D& d, Args a) { return Variant(d.SetBookmark(CInt(a[0]), CStr(a[1]), CLng(a[2]))); }, 3},
      {"ClearBookmark", M::Method,
       [](D& d, Args a) { return Variant(d.ClearBookmark(CLng(a[0]))); }, 1},
      {"LastReadPos", M::Let, [](D& d, Args a) { d.SetLastReadPos(CLng(a[0])); }},
      {"LastReadPos", M::Get, [](D& d, Args) { return Variant(d.LastReadPos()); }},
      {"CursorStartPos", M::Let, [](D& d, Args a) { d.SetCursorStartPos(CLng(a[0])); }},
      {"CursorStartPos", M::Get, [](D& d, Args) { return Variant(d.CursorStartPos()); }},
      {"CursorEndPos", M::Let, [](D& d, Args a) { d.SetCursorEndPos(CLng(a[0])); }},
      {"CursorEndPos", M::Get, [](D& d, Args) { return Variant(d.CursorEndPos()); }},
      {"password", M::Let, [](D& d, Args a) { d.SetPassword(CStr(a[0])); }},
      {"password", M::Get, [](D& d, Args) { return Variant(d.Password()); }},
      {"DocName", M::Let, [](D& d, Args a) { d.SetDocName(CStr(a[0])); }},
      {"DocName", M::Get, [](D& d, Args) { return Variant(d.DocName()); }},
      {"IsEditable", M::Let, [](D& d, Args a) { d.SetIsEditable(CBool(a[0])); }},
      {"IsEditable", M::Get, [](D& d, Args) { return Variant(d.IsEditable()); }},
      {"IsCompressed", M::Let, [](D& d, Args a) { d.SetIsCompressed(CBool(a[0])); }},
      {"IsCompressed", M::Get, [](D& d, Args) { return Variant(d.IsCompressed()); }},
      {"SearchDocumentMode", M::Let, [](D& d, Args a) { d.SetSearchDocumentMode(CLng(a[0])); }},
      {"SearchDocumentMode", M::Get, [](D& d, Args) { return Variant(d.SearchDocumentMode()); }},
      {"Category", M::Let, [](D& d, Args a) { d.SetCategory(CInt(a[0])); }},
      {"Category", M::Get, [](D& d, Args) { return Variant(d.Category()); }},
      {"IsServerSync", M::Let, [](D& d, Args a) { d.SetIsServerSync(CBool(a[0])); }},
      {"IsServerSync", M::Get, [](D& d, Args) { return Variant(d.IsServerSync()); }},
      {"IsPrivate", M::Let, [](D& d, Args a) { d.SetIsPrivate(CBool(a[0])); }},
      {"IsPrivate", M::Get, [](D& d, Args) { return Variant(d.IsPrivate()); }},
      {"IsModified", M::Let, [](D& d, Args a) { d.SetIsModified(CBool(a[0])); }},
      {"IsModified", M::Get, [](D& d, Args) { return Variant(d.IsModified()); }},
      {"Version", M::Let, [](D& d, Args a) { d.SetVersion(CInt(a[0])); }},
      {"Version", M::Get, [](D& d, Args) { return Variant(d.Version()); }},
      {"SyncMethodText", M::Method, [](D& d, Args) { return Variant(d.SyncMethodText()); }},
      {"SyncMethodFromText", M::Method,
       [](D&, Args a) { return Variant(SyncMethodFromText(CStr(a[0]))); }, 1},
      {"FullPath", M::Get, [](D& d, Args) { return Variant(d.FullPath()); }},
      {"FullPath", M::Let, [](D& d, Args a) { d.SetFullPath(CStr(a[0])); }},
      {"LinkedDOCFileName", M::Get, [](D& d, Args) { return Variant(d.LinkedDOCFileName()); }},
      {"LinkedDOCFileName", M::Let, [](D& d, Args a) { d.SetLinkedDOCFileName(CStr(a[0])); }},
      {"HasLinkedDOCFile", M::Get, [](D& d, Args) { return Variant(d.HasLinkedDOCFile()); }},
      {"LinkedDOCFileModDateTime", M::Get,
       [](D& d, Args) { return Variant::Date(d.LinkedDOCFileModDateTime()); }},
      {"LinkedDOCFileModDateTime", M::Let,
       [](D& d, Args a) { d.SetLinkedDOCFileModDateTime(CDbl(a[0])); }},
      {"LinkedDOCSyncMethod", M::Get, [](D& d, Args) { return Variant(d.LinkedDOCSyncMethod()); }},
      {"LinkedDOCSyncMethod", M::Let, [](D& d, Args a) { d.SetLinkedDOCSyncMethod(CLng(a[0])); }},
      {"LinkedDOCSyncOption", M::Get, [](D& d, Args) { return Variant(d.LinkedDOCSyncOption()); }},
      {"LinkedDOCSyncOption", M::Let, [](D& d, Args a) { d.SetLinkedDOCSyncOption(CLng(a[0])); }},
      {"OpenFromZazerDB", M::Method, [](D& d, Args a) { return Variant(d.OpenFromZazerDB(a[0])); },
       0, 1},
      {"WriteToPDB", M::Method, [](D& d, Args a) { d.WriteToPDB(CStr(a[0])); }, 1},
      {"WriteToDOCPDB", M::Method, [](D& d, Args a) { d.WriteToDOCPDB(CStr(a[0])); }, 1},
      {"WriteToZazerDB", M::Method, [](D& d, Args a) { d.WriteToZazerDB(ObjectOf(a[0])); }, 1},
      {"InitFromSCV", M::Method, [](D& d, Args a) { return Variant(d.InitFromSCV(CStr(a[0]))); },
       1},
      {"InitFromDefaults", M::Method, [](D& d, Args) { return Variant(d.InitFromDefaults()); }},
      {"OpenFromUser", M::Method,
       [](D& d, Args a) { return Variant(d.OpenFromUser(CStr(a[0]), CStr(a[1]), CStr(a[2]))); }, 3},
      {"OpenFromDOC", M::Method, [](D& d, Args a) { return Variant(d.OpenFromDOC(CStr(a[0]))); },
       1},
      {"WriteToDOC", M::Method, [](D& d, Args a) { return Variant(d.WriteToDOC(CStr(a[0]))); }, 1},
      {"WriteToTextFile", M::Method, [](D& d, Args a) { d.WriteToTextFile(CStr(a[0])); }, 1},
      {"OpenFromTextFile", M::Method,
       [](D& d, Args a) { return Variant(d.OpenFromTextFile(CStr(a[0]))); }, 1},
      {"OpenFromHTMLFile", M::Method,
       [](D& d, Args a) { return Variant(d.OpenFromHTMLFile(CStr(a[0]))); }, 1},
      {"OpenFromDisk", M::Method,
       [](D& d, Args a) {
         return Variant(
             d.OpenFromDisk(OptionalString(a[0]), OptionalBool(a[1]), OptionalBool(a[2])));
       },
       0, 3},
      {"EraseText", M::Method, [](D& d, Args) { d.EraseText(); }},
      {"DocumentBlocks", M::Get,
       [](D& d, Args) { return Variant(Ref<DocumentBlockCollection>(&d.DocumentBlocks())); }},
      {"WriteToUser", M::Method,
       [](D& d, Args a) { d.WriteToUser(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"WriteToDisk", M::Method,
       [](D& d, Args a) { d.WriteToDisk(OptionalString(a[0]), OptionalBool(a[1])); }, 0, 2},
      {"CloseDocument", M::Method, [](D& d, Args) { d.CloseDocument(); }}};
  return table;
}

}  // namespace brevora::doc
