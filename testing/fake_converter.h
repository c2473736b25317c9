#pragma once
// A recording fake of the connectivity module's converters as the conduits
// call them late-bound: "TabulynPC.SDK" (XLSToTBRExt_Sync, TBRToXLSExt_Sync)
// and "TabulynPC.SDK_Document" (DOCToSCVExt_Sync, SCVToDOCExt_Sync), each
// with three texts, and Refresh. A conversion records its call, then copies
// the file of its first text over the file of its second (standing in for the
// real conversion, which needs Office); any other member raises 438.
//
// The calls are kept in a file of the test case's home, so that a conduit
// running in another process (the `hotsync` program, which loads the fake
// through HKEY_CLASSES_ROOT from the library fake_converter_server) is
// recorded too.
#include <string>
#include <vector>

namespace brevora::testing {

enum class FakeConverterKind { Spreadsheet, Document };

struct ConverterCall {
  std::string method;
  std::string first;
  std::string second;
  std::string third;
  bool operator==(const ConverterCall&) const = default;
};

// The fake's CLSID for a kind (not the real converter's).
const char* FakeConverterClsid(FakeConverterKind kind);
// Registers the fake in this process under the kind's ProgID and CLSID,
// replacing what was registered there.
void RegisterFakeConverter(FakeConverterKind kind);
// Points the kind's ProgID in HKEY_CLASSES_ROOT at the fake in `library`, for
// other processes of this test's home.
void RegisterFakeConverterServer(FakeConverterKind kind, const std::string& library);
// The calls so far, in order, from every process.
std::vector<ConverterCall> FakeConverterCalls();
// From now on every conversion raises 32760 (true) or converts (false).
void SetFakeConverterFails(bool fails);

}  // namespace brevora::testing
