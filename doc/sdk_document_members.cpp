// SDK_Document's late-bound members, in the order of its interface. The
// conduits call DOCToSCVExt_Sync and SCVToDOCExt_Sync with three strings and
// Refresh without arguments.
#include "core/session.h"
#include "doc/sdk_document.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"

namespace brevora::doc {

namespace {}  // namespace

const MemberTable<SDK_Document>& SDK_Document::Members() {
  using M = CallKind;
  using S = SDK_Document;
  static const MemberTable<SDK_Document> table{
      {"OpenDOCDocument", M::Method, [](S& s, Args a) { s.OpenDOCDocument(CStr(a[0])); }, 1},
      {"OpenDocument", M::Method,
       [](S& s, Args a) { s.OpenDocument(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"RemoveFromUser", M::Method,
       [](S& s, Args a) { s.RemoveFromUser(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"SaveDocument", M::Method,
       [](S& s, Args a) { s.SaveDocument(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"DOCToSCVExt", M::Method, [](S& s, Args a) { s.DOCToSCVExt(CStr(a[0]), CStr(a[1])); }, 2},
      {"SCVToDOCExt", M::Method, [](S& s, Args a) { s.SCVToDOCExt(CStr(a[0]), CStr(a[1])); }, 2},
      {"DOCToSCVExt_Sync", M::Method,
       [](S& s, Args a) { s.DOCToSCVExtSync(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"Session", M::Set, [](S& s, Args a) { s.SetSession(ObjectArg<core::Session>(a[0])); }},
      {"Session", M::Get, [](S& s, Args) { return Variant(s.Session()); }},
      {"SCVToDOCExt_Sync", M::Method,
       [](S& s, Args a) { s.SCVToDOCExtSync(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"DOCToSCV", M::Method,
       [](S& s, Args a) { s.DOCToSCV(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); }, 4},
      {"SCVToDOC", M::Method,
       [](S& s, Args a) { s.SCVToDOC(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); }, 4},
      {"PDBToDOC", M::Method, [](S& s, Args a) { s.PDBToDOC(CStr(a[0]), CStr(a[1])); }, 2},
      {"DOCToPDB", M::Method, [](S& s, Args a) { s.DOCToPDB(CStr(a[0]), CStr(a[1])); }, 2},
      {"SCVToPDB", M::Method,
       [](S& s, Args a) { s.SCVToPDB(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); }, 4},
      {"PDBToSCV", M::Method,
       [](S& s, Args a) { s.PDBToSCV(CStr(a[0]), CStr(a[1]), CStr(a[2]), CStr(a[3])); }, 4},
      {"PDBToSCVExt", M::Method, [](S& s, Args a) { s.PDBToSCVExt(CStr(a[0]), CStr(a[1])); }, 2},
      {"SCVToPDBExt", M::Method, [](S& s, Args a) { s.SCVToPDBExt(CStr(a[0]), CStr(a[1])); }, 2},
      {"Refresh", M::Method, [](S& s, Args) { return Variant(s.Refresh()); }}};
  return table;
}

}  // namespace brevora::doc
