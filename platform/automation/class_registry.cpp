#include "platform/automation/class_registry.h"

#include <dlfcn.h>

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "platform/text/case.h"

namespace brevora {
namespace {

using CreateFn = Dispatch* (*)(const char*);

struct ClassEntry {
  std::string progId;
  std::string clsid;
  Factory factory;
  std::string progIdKey() const { return text::LCase(progId); }
  std::string clsidKey() const { return text::LCase(clsid); }
};

// The process's classes and loaded libraries. Never destroyed: factories point
// into libraries whose code must not be torn down before them at exit.
struct Classes {
  std::mutex mu;
  std::unordered_map<std::string, std::shared_ptr<const ClassEntry>> byProgId;
  std::unordered_map<std::string, std::shared_ptr<const ClassEntry>> byClsid;
  std::unordered_map<std::string, void*> libraries;  // native path -> handle
};

Classes& TheClasses() {
  static Classes* classes = new Classes;
  return *classes;
}

[[noreturn]] void CannotCreate() { RaiseRuntimeError(429); }

// A name usable as one registry key name.
bool IsKeyName(std::string_view name) {
  return !name.empty() && name.find('\\') == std::string_view::npos;
}

std::shared_ptr<const ClassEntry> Lookup(
    std::unordered_map<std::string, std::shared_ptr<const ClassEntry>> Classes::*map,
    std::string_view name) {
  Classes& c = TheClasses();
  std::lock_guard lock(c.mu);
  auto it = (c.*map).find(text::LCase(name));
  return it == (c.*map).end() ? nullptr : it->second;
}

Ref<Dispatch> Run(const ClassEntry& entry) {
  Ref<Dispatch> object = entry.factory();
  if (!object) CannotCreate();
  return object;
}

std::optional<std::string> ClassesRootDefault(const std::string& key) {
  std::optional<registry::Value> v = registry::QueryValue(registry::Hive::ClassesRoot, key, "");
  if (!v ||
      (v->type != registry::ValueType::String && v->type != registry::ValueType::ExpandString) ||
      v->text.empty()) {
    return std::nullopt;
  }
  return v->text;
}

void* LoadLibrary(const std::string& nativePath) {
  Classes& c = TheClasses();
  {
    std::lock_guard lock(c.mu);
    auto it = c.libraries.find(nativePath);
    if (it != c.libraries.end()) return it->second;
  }
  // Loading runs the library's static registrations, which take the lock.
  void* handle = dlopen(nativePath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  std::lock_guard lock(c.mu);
  c.libraries.emplace(nativePath, handle);
  return handle;
}

}  // namespace

void RegisterClass(std::string_view progId, std::string_view clsid, Factory factory) {
  auto entry = std::make_shared<const ClassEntry>(
      ClassEntry{std::string(progId), std::string(clsid), std::move(factory)});
  const std::string progIdKey = entry->progIdKey(), clsidKey = entry->clsidKey();
  Classes& c = TheClasses();
  std::lock_guard lock(c.mu);
  // A class registered again replaces the old one under both of its names.
  std::vector<std::shared_ptr<const ClassEntry>> old;
  if (auto it = c.byProgId.find(progIdKey); it != c.byProgId.end()) old.push_back(it->second);
  if (auto it = c.byClsid.find(clsidKey); it != c.byClsid.end()) old.push_back(it->second);
  for (const auto& o : old) {
    c.byProgId.erase(o->progIdKey());
    c.byClsid.erase(o->clsidKey());
  }
  if (!progIdKey.empty()) c.byProgId[progIdKey] = entry;
  if (!clsidKey.empty()) c.byClsid[clsidKey] = entry;
}

void UnregisterClass(std::string_view progId) {
  Classes& c = TheClasses();
  std::lock_guard lock(c.mu);
  auto it = c.byProgId.find(text::LCase(progId));
  if (it == c.byProgId.end()) return;
  std::shared_ptr<const ClassEntry> old = it->second;
  c.byProgId.erase(it);
  auto byClsid = c.byClsid.find(old->clsidKey());
  if (byClsid != c.byClsid.end() && byClsid->second == old) c.byClsid.erase(byClsid);
}

std::optional<std::string> ClsidFromProgId(std::string_view progId) {
  if (auto entry = Lookup(&Classes::byProgId, progId); entry && !entry->clsid.empty()) {
    return entry->clsid;
  }
  if (!IsKeyName(progId)) return std::nullopt;
  return ClassesRootDefault(std::string(progId) + "\\CLSID");
}

Ref<Dispatch> CreateObject(std::string_view progId) {
  if (auto entry = Lookup(&Classes::byProgId, progId)) return Run(*entry);
  std::optional<std::string> clsid = ClsidFromProgId(progId);
  if (!clsid) CannotCreate();
  return CreateObjectFromClsid(*clsid);
}

Ref<Dispatch> CreateObjectFromClsid(std::string_view clsid) {
  if (auto entry = Lookup(&Classes::byClsid, clsid)) return Run(*entry);
  if (!IsKeyName(clsid)) CannotCreate();
  std::optional<std::string> path =
      ClassesRootDefault("CLSID\\" + std::string(clsid) + "\\InprocServer32");
  if (!path) CannotCreate();
  void* library = LoadLibrary(fs::NativePath(*path));
  if (!library) CannotCreate();
  auto create = reinterpret_cast<CreateFn>(dlsym(library, "BrevoraCreateObject"));
  if (!create) CannotCreate();
  const std::string name(clsid);
  Ref<Dispatch> object = AdoptRef(create(name.c_str()));
  if (!object) CannotCreate();
  return object;
}

void RegisterServer(std::string_view progId, std::string_view clsid, std::string_view soPath) {
  if (!IsKeyName(progId) || !IsKeyName(clsid)) RaiseRuntimeError(5);
  using registry::Hive;
  using registry::Value;
  registry::SetValue(Hive::ClassesRoot, std::string(progId) + "\\CLSID", "",
                     Value::String(std::string(clsid)));
  registry::SetValue(Hive::ClassesRoot, "CLSID\\" + std::string(clsid) + "\\InprocServer32", "",
                     Value::String(fs::SystemPath(soPath)));
}

Dispatch* ExportObject(const char* clsid) {
  if (!clsid) return nullptr;
  std::shared_ptr<const ClassEntry> entry = Lookup(&Classes::byClsid, clsid);
  if (!entry) return nullptr;
  Ref<Dispatch> object = entry->factory();
  return object.Detach();
}

}  // namespace brevora
