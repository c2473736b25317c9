# brevora_layer(<name> SOURCES <files...> [BELOW <layers...>] [LIBS <libraries...>])
#
# One folder's code as a layer: an OBJECT library whose objects go into the
# shared library that links it (libbrevora-platform.so, libtabrelpc.so). BELOW
# names the layers it builds on, LIBS the other libraries it uses; nothing else
# may it use. The direction is checked when the tree builds: <name>_linkcheck is
# a shared library made of the layer's objects, linked with --no-undefined
# against the checks of the layers below and LIBS only, so code that reaches a
# layer above (or one it does not name) fails to link. The layer offers its
# folder's headers to what builds on it alone (brevora_headers), so that code
# including a header of a layer it does not name fails to compile;
# scripts/check_layers.sh, run as a test, checks the #include lines folder by
# folder.
function(brevora_layer name)
  cmake_parse_arguments(L "" "" "SOURCES;BELOW;LIBS" ${ARGN})
  add_library(${name} OBJECT ${L_SOURCES})
  target_link_libraries(${name} PUBLIC ${L_BELOW} ${L_LIBS})
  brevora_headers(${name})
  if(BREVORA_FUZZ)
    return()  # clang does not link the sanitizer runtime into shared libraries
  endif()
  add_library(${name}_linkcheck SHARED)
  set_target_properties(${name}_linkcheck PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/linkcheck)
  target_link_options(${name}_linkcheck PRIVATE -Wl,--no-undefined)
  target_link_libraries(${name}_linkcheck PRIVATE ${name} PUBLIC ${L_LIBS})
  foreach(below IN LISTS L_BELOW)
    target_link_libraries(${name}_linkcheck PUBLIC ${below}_linkcheck)
  endforeach()
endfunction()

# brevora_static_layer(<name> SOURCES <files...> [LIBS <libraries...>])
#
# A layer that each plug-in carries a copy of instead of sharing it (the conduit
# framework): a static library whose symbols are hidden, so that two plug-ins
# loaded into one process never meet. Its direction is checked as a layer's is:
# <name>_linkcheck, a shared library of its objects linked with --no-undefined
# against LIBS only, fails to link when the code calls up into a library that
# uses it.
function(brevora_static_layer name)
  cmake_parse_arguments(L "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_link_libraries(${name} PUBLIC ${L_LIBS})
  brevora_headers(${name})
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  if(BREVORA_FUZZ)
    return()
  endif()
  add_library(${name}_linkcheck SHARED $<TARGET_OBJECTS:${name}>)
  set_target_properties(${name}_linkcheck PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/linkcheck)
  target_link_options(${name}_linkcheck PRIVATE -Wl,--no-undefined)
  target_link_libraries(${name}_linkcheck PRIVATE ${L_LIBS})
endfunction()
