// The product the plug-in libtexttest_conduit.so carries.
#include "conduit-framework/plugin.h"
#include "conduit-framework/test_conduit/text_conduit.h"

const brevora::conduit::Product& brevora::conduit::PluginProduct() {
  return texttest::TextTestProduct();
}
