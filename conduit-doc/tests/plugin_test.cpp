// The plug-in libscriv.so as the host loads it: its six entry points and
// nothing else, its name and version; and the text an unexpected error of a
// run's apply step leaves in the log.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "conduit-doc/scriv_product.h"
#include "conduit-framework/file_mgr.h"
#include "platform/hotsync/conduit_api.h"
#include "platform/hotsync/host/conduit_library.h"

namespace brevora::scriv {
namespace {

TEST(Plugin, ExportsTheSixEntryPointsAndItsName) {
  std::string error;
  const auto plugin = hotsync::host::ConduitLibrary::Load(SCRIV_PLUGIN, error);
  ASSERT_TRUE(plugin) << error;
  EXPECT_TRUE(plugin->getConduitName && plugin->getConduitVersion && plugin->configureConduit &&
              plugin->getConduitInfo && plugin->cfgConduit);
  char name[80];
  EXPECT_EQ(plugin->getConduitName(name, sizeof name), 0);
  EXPECT_EQ(std::string(name), "Scrivane");
  EXPECT_EQ(plugin->getConduitVersion(), 0x200u);

  // Nothing else leaves the plug-in: no class of the conduit, the framework
  // or the picture code.
  void* handle = dlopen(SCRIV_PLUGIN, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr);
  for (const char* symbol : {"OpenConduit", "GetConduitName", "GetConduitVersion",
                             "ConfigureConduit", "GetConduitInfo", "CfgConduit"}) {
    EXPECT_NE(dlsym(handle, symbol), nullptr) << symbol;
  }
  for (const char* symbol :
       {"_ZN7brevora5scriv15ScrivaneProductEv", "_ZN7brevora6slides13InitFreeImageEv",
        "_ZN7brevora7conduit13PluginProductEv",
        "_ZN7brevora7conduit11OpenConduitERKNS0_7ProductEPvP15CSyncProperties"}) {
    EXPECT_EQ(dlsym(handle, symbol), nullptr) << symbol;
  }
  dlclose(handle);
}

TEST(Plugin, AnUnexpectedErrorOfTheApplyStepIsLoggedWithItsText) {
  EXPECT_EQ(conduit::ApplyErrorText(ScrivaneProduct(), "Disk full"),
            "Sync did not complete successfully because of this error: Disk full.\r\n Please "
            "synchronize again.");
  const std::string longer(300, 'e');
  EXPECT_EQ(conduit::ApplyErrorText(ScrivaneProduct(), longer),
            "Sync did not complete successfully because of this error: " + std::string(255, 'e') +
                ".\r\n Please synchronize again.");
}

}  // namespace
}  // namespace brevora::scriv
