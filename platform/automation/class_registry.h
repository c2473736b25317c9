#pragma once
// Creating objects by ProgID ("TabulynPC.Session") or CLSID ("{...}").
// Classes register in process (RegisterClass, or a static ClassRegistration in
// the library that holds them). A class not registered in this process is found
// through HKEY_CLASSES_ROOT: <ProgID>\CLSID (default value) gives the CLSID and
// CLSID\<clsid>\InprocServer32 (default value) the path of the shared object,
// which is loaded (dlopen, RTLD_NOW) and asked for the object through its one
// exported function BrevoraCreateObject (define it with BREVORA_EXPORT_OBJECTS()).
// Loaded libraries stay loaded. Nothing found or created: 429 "ActiveX component
// can't create object". Errors raised by a class's factory pass through unchanged.
// ProgIDs and CLSIDs match without regard to case. Safe to call from any thread.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora {

using Factory = std::function<Ref<Dispatch>()>;

// Registers (or replaces) the class under both names; either may be empty.
void RegisterClass(std::string_view progId, std::string_view clsid, Factory factory);
// Removes an in-process registration by ProgID (tests that swap fakes).
void UnregisterClass(std::string_view progId);

Ref<Dispatch> CreateObject(std::string_view progId);
Ref<Dispatch> CreateObjectFromClsid(std::string_view clsid);
// The CLSID of a ProgID, from this process's registrations or HKEY_CLASSES_ROOT.
std::optional<std::string> ClsidFromProgId(std::string_view progId);

// Writes HKEY_CLASSES_ROOT\<progId>\CLSID = clsid and
// HKEY_CLASSES_ROOT\CLSID\<clsid>\InprocServer32 = soPath (a Linux path).
void RegisterServer(std::string_view progId, std::string_view clsid, std::string_view soPath);

// A static object of this type registers a class when its library loads:
//   static ClassRegistration reg("TabulynPC.Session", "{...}", [] { return MakeRef<Session>(); });
struct ClassRegistration {
  ClassRegistration(std::string_view progId, std::string_view clsid, Factory factory) {
    RegisterClass(progId, clsid, std::move(factory));
  }
};

// What a library's BrevoraCreateObject returns: a new object of the class
// registered in process under `clsid`, with one reference handed to the caller,
// or null when none is registered.
Dispatch* ExportObject(const char* clsid);

}  // namespace brevora

// The exported factory of a library of classes. Put it once in one source file.
#define BREVORA_EXPORT_OBJECTS()                                                            \
  extern "C" __attribute__((visibility("default"))) brevora::Dispatch* BrevoraCreateObject( \
      const char* clsid) {                                                                  \
    return brevora::ExportObject(clsid);                                                    \
  }
