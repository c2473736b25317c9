#include "platform/hotsync/host/conduit_library.h"

#include <dlfcn.h>

namespace brevora::hotsync::host {
namespace {

template <class Fn>
Fn Symbol(void* handle, const char* name) {
  return reinterpret_cast<Fn>(dlsym(handle, name));
}

}  // namespace

std::unique_ptr<ConduitLibrary> ConduitLibrary::Load(const std::string& path, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    error = why ? why : "can't be loaded";
    return nullptr;
  }
  std::unique_ptr<ConduitLibrary> library(new ConduitLibrary(handle));
  library->openConduit = Symbol<OpenConduitFn>(handle, "OpenConduit");
  library->getConduitName = Symbol<GetConduitNameFn>(handle, "GetConduitName");
  library->getConduitVersion = Symbol<GetConduitVersionFn>(handle, "GetConduitVersion");
  library->configureConduit = Symbol<ConfigureConduitFn>(handle, "ConfigureConduit");
  library->getConduitInfo = Symbol<GetConduitInfoFn>(handle, "GetConduitInfo");
  library->cfgConduit = Symbol<CfgConduitFn>(handle, "CfgConduit");
  if (library->openConduit == nullptr) {
    error = path + " does not export OpenConduit";
    return nullptr;
  }
  return library;
}

ConduitLibrary::~ConduitLibrary() { dlclose(handle_); }

}  // namespace brevora::hotsync::host
