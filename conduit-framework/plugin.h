#pragma once
// The product a conduit plug-in carries. Each plug-in has one source of its
// own (brevora_conduit_plugin's SOURCES) that defines PluginProduct; the
// plug-in's six C entry points (exports.cpp) pass it to the framework. Nothing
// in the framework library calls it: the framework's objects are given the
// product and carry it.
namespace brevora::conduit {

struct Product;

const Product& PluginProduct();

}  // namespace brevora::conduit
