#include "frontend/form_factory.h"

#include <dlfcn.h>

#include <mutex>
#include <utility>

#include "platform/error/error.h"

namespace brevora::frontend {

Form::~Form() = default;
FormFactory::~FormFactory() = default;

namespace {

constexpr int32_t kCannotCreate = 429;
constexpr const char* kSource = "TabrelPC";
constexpr const char* kNoDisplay = "No display is available.";

std::mutex& FactoryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::shared_ptr<FormFactory>& Installed() {
  static std::shared_ptr<FormFactory> factory;
  return factory;
}

// One load at a time, so two threads asking first do not both install.
std::mutex& LoadMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

std::shared_ptr<FormFactory> LoadedFormFactory() {
  std::lock_guard<std::mutex> lock(FactoryMutex());
  return Installed();
}

std::shared_ptr<FormFactory> InstallFormFactory(std::shared_ptr<FormFactory> factory) {
  std::lock_guard<std::mutex> lock(FactoryMutex());
  std::swap(Installed(), factory);
  return factory;
}

std::string FormsLibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&FormsLibraryPath), &info) == 0 || !info.dli_fname) {
    return kFormsLibraryName;  // the loader's own search then
  }
  std::string path = info.dli_fname;
  const std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? std::string(kFormsLibraryName)
                                    : path.substr(0, slash + 1) + kFormsLibraryName;
}

std::shared_ptr<FormFactory> LoadForms(const std::string& libraryPath) {
  std::lock_guard<std::mutex> load(LoadMutex());
  if (std::shared_ptr<FormFactory> factory = LoadedFormFactory()) return factory;
  // The library stays loaded for the life of the process once opened: Qt and
  // the windows it made cannot be unloaded safely, and a second dlopen of the
  // same file only counts a reference.
  void* library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* reason = dlerror();
    RaiseError(kCannotCreate, kSource,
               std::string("The windows could not be loaded (") + (reason ? reason : libraryPath) +
                   ").  " + kNoDisplay);
  }
  using Install = int (*)();
  auto install = reinterpret_cast<Install>(dlsym(library, kInstallFormsSymbol));
  if (!install) {
    RaiseError(kCannotCreate, kSource,
               "The windows could not be loaded (" + libraryPath + " has no " +
                   kInstallFormsSymbol + ").  " + kNoDisplay);
  }
  std::shared_ptr<FormFactory> factory = install() == 0 ? LoadedFormFactory() : nullptr;
  if (!factory) RaiseError(kCannotCreate, kSource, kNoDisplay);
  return factory;
}

std::shared_ptr<FormFactory> Forms() {
  if (std::shared_ptr<FormFactory> factory = LoadedFormFactory()) return factory;
  return LoadForms(FormsLibraryPath());
}

}  // namespace brevora::frontend
