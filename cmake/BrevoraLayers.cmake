# brevora_layer(<name> SOURCES <files...> [BELOW <layers...>] [LIBS <libraries...>])
#
# One folder's code as a layer: an OBJECT library whose objects go into the
# shared library that links it (libbrevora-platform.so, libtabrelpc.so). BELOW
# names the layers it builds on, LIBS the other libraries it uses; nothing else
# may it use. The direction is checked when the tree builds: <name>_linkcheck is
# a shared library made of the layer's objects, linked with --no-undefined
# against the checks of the layers below and LIBS only, so code that reaches a
# layer above (or one it does not name) fails to link. scripts/check_layers.sh,
# run as a test, does the same for the #include lines.
function(brevora_layer name)
  cmake_parse_arguments(L "" "" "SOURCES;BELOW;LIBS" ${ARGN})
  add_library(${name} OBJECT ${L_SOURCES})
  target_link_libraries(${name} PUBLIC ${L_BELOW} ${L_LIBS})
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
