#include "testing/fake_converter.h"

#include <fstream>
#include <iterator>

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/automation/variant.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"

namespace brevora::testing {
namespace {

struct KindNames {
  const char* progId;
  const char* clsid;
  const char* toDesktop;
  const char* toOffice;
};

constexpr KindNames kNames[] = {
    {"TabulynPC.SDK", "{5F3C1D20-7E44-4B1A-9D3E-FA0C0FFEE001}", "XLSToTBRExt_Sync",
     "TBRToXLSExt_Sync"},
    {"TabulynPC.SDK_Document", "{5F3C1D20-7E44-4B1A-9D3E-FA0C0FFEE002}", "DOCToSCVExt_Sync",
     "SCVToDOCExt_Sync"},
};

const KindNames& NamesOf(FakeConverterKind kind) { return kNames[static_cast<int>(kind)]; }

std::string Folder() { return fs::JoinPath(fs::ConfigDir(), "fake_converter"); }
std::string JournalPath() { return fs::JoinPath(Folder(), "calls.txt"); }
std::string FailPath() { return fs::JoinPath(Folder(), "fail"); }

class FakeConverter : public Dispatch {
 public:
  explicit FakeConverter(FakeConverterKind kind) : names_(NamesOf(kind)) {}

  Variant Invoke(std::string_view name, CallKind kind, Args args) override {
    if (text::EqualsNoCase(name, "Refresh") && kind != CallKind::Let && kind != CallKind::Set)
      return Variant(0);
    const bool toDesktop = text::EqualsNoCase(name, names_.toDesktop);
    if ((!toDesktop && !text::EqualsNoCase(name, names_.toOffice)) || kind != CallKind::Method) {
      RaiseRuntimeError(438);
    }
    if (args.size() != 3) RaiseRuntimeError(450);
    const std::string method(toDesktop ? names_.toDesktop : names_.toOffice);
    const std::string a = CStr(args[0]), b = CStr(args[1]), c = CStr(args[2]);
    fs::MakeFolder(Folder());
    std::ofstream(fs::NativePath(JournalPath()), std::ios::app)
        << method << '\t' << a << '\t' << b << '\t' << c << '\n';
    if (fs::FileExists(FailPath())) {
      RaiseError(kWrapError, std::string("SDK.") + method, "The fake converter was told to fail.");
    }
    fs::CopyFile(a, b, true);
    return Variant(true);
  }

 private:
  const KindNames& names_;
};

}  // namespace

const char* FakeConverterClsid(FakeConverterKind kind) { return NamesOf(kind).clsid; }

void RegisterFakeConverter(FakeConverterKind kind) {
  RegisterClass(NamesOf(kind).progId, NamesOf(kind).clsid,
                [kind] { return Ref<Dispatch>(MakeRef<FakeConverter>(kind)); });
}

void RegisterFakeConverterServer(FakeConverterKind kind, const std::string& library) {
  RegisterServer(NamesOf(kind).progId, NamesOf(kind).clsid, fs::SystemPath(library));
}

std::vector<ConverterCall> FakeConverterCalls() {
  std::vector<ConverterCall> calls;
  std::ifstream in(fs::NativePath(JournalPath()));
  for (std::string line; std::getline(in, line);) {
    ConverterCall call;
    std::string* fields[] = {&call.method, &call.first, &call.second, &call.third};
    std::size_t start = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      const std::size_t tab = i < 3 ? line.find('\t', start) : std::string::npos;
      *fields[i] = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    calls.push_back(std::move(call));
  }
  return calls;
}

void SetFakeConverterFails(bool fails) {
  fs::MakeFolder(Folder());
  if (fails) {
    fs::AtomicWrite(FailPath(), std::string_view("1"));
  } else if (fs::FileExists(FailPath())) {
    fs::RemoveFile(FailPath());
  }
}

}  // namespace brevora::testing
