// The product the plug-in libscriv.so carries.
#include "conduit-doc/scriv_product.h"
#include "conduit-framework/plugin.h"

const brevora::conduit::Product& brevora::conduit::PluginProduct() { return scriv::ScrivaneProduct(); }
