#pragma once
// The conduit framework is compiled once per conduit, in that conduit's
// namespace (brevora::tabrel, brevora::scriv, ...), so that two conduits'
// same-named classes never meet. CONDUIT_NAMESPACE names it; the framework's
// CMake function brevora_conduit_framework() defines it for the library and
// for everything that links it.
#ifndef CONDUIT_NAMESPACE
#error "CONDUIT_NAMESPACE must name the conduit's namespace (see conduit/framework/CMakeLists.txt)"
#endif
