// The product the plug-in libtabrel.so carries.
#include "conduit-framework/plugin.h"
#include "conduit/tabrel_product.h"

const brevora::conduit::Product& brevora::conduit::PluginProduct() {
  return tabrel::TabulynProduct();
}
