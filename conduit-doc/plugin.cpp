// The product the plug-in libscriv.so carries.
#include "conduit-framework/plugin.h"
#include "conduit-doc/scriv_product.h"

const brevora::conduit::Product& brevora::conduit::PluginProduct() {
  return scriv::ScrivaneProduct();
}
