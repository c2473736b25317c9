#pragma once
// ConduitLibrary: a conduit plug-in loaded for the length of one host command
// (dlopen with RTLD_NOW | RTLD_LOCAL) and its entry points. OpenConduit is
// required; the others may be missing (null). Unloaded on destruction.
#include <memory>
#include <string>

#include "platform/hotsync/conduit_api.h"

namespace brevora::hotsync::host {

class ConduitLibrary {
 public:
  // Null, with the reason in `error`, when the library can't be loaded or does
  // not export OpenConduit.
  static std::unique_ptr<ConduitLibrary> Load(const std::string& path, std::string& error);
  ~ConduitLibrary();
  ConduitLibrary(const ConduitLibrary&) = delete;
  ConduitLibrary& operator=(const ConduitLibrary&) = delete;

  OpenConduitFn openConduit = nullptr;
  GetConduitNameFn getConduitName = nullptr;
  GetConduitVersionFn getConduitVersion = nullptr;
  ConfigureConduitFn configureConduit = nullptr;
  GetConduitInfoFn getConduitInfo = nullptr;
  CfgConduitFn cfgConduit = nullptr;

 private:
  explicit ConduitLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

}  // namespace brevora::hotsync::host
