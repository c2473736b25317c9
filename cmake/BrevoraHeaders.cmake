# Who may include which headers, enforced by the build: a target sees the
# headers of what it links (directly or through PUBLIC links) and no others.
#
# Code includes "folder/file.h" from the source root. Instead of the source root
# itself, each folder's headers get an include root of their own in the build
# tree, <build>/include/<folder, "/" as "+">/<folder>/<file.h>, links to the
# headers of that folder alone (not its sub-folders, which have roots of their
# own), and a target that offers them has that root as its PUBLIC include
# directory. The roots are made again at each configure; a header added to or
# removed from a folder makes the next build configure again.
#
# Test-only headers (*_test_*.h) are in none of them: they are in one root,
# BREVORA_TEST_HEADERS, which only the test mains (testing/) hand on.
# scripts/check_layers.sh checks the same rules folder by folder.

set(BREVORA_HEADER_ROOTS ${CMAKE_BINARY_DIR}/include)
set(BREVORA_TEST_HEADERS ${BREVORA_HEADER_ROOTS}/@tests)
file(REMOVE_RECURSE ${BREVORA_HEADER_ROOTS})
file(MAKE_DIRECTORY ${BREVORA_TEST_HEADERS})

# Links <root>/<folder>/<header> to <source folder>/<header> for each header.
function(brevora_link_headers root folder)
  file(MAKE_DIRECTORY ${root}/${folder})
  foreach(header IN LISTS ARGN)
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder}/${header} ${root}/${folder}/${header} SYMBOLIC)
  endforeach()
endfunction()

# brevora_headers(<target> [FOLDER <sub-folder>] [HEADERS <files...>])
#
# <target> offers the headers of the folder it is defined in, or of its
# sub-folder FOLDER (the folder's one root, shared by every target of the
# folder), or with HEADERS those headers of the folder alone (a root of the
# target's own: a piece that others use without the rest of the folder). An
# INTERFACE library offers them as its interface.
function(brevora_headers target)
  cmake_parse_arguments(H "" "FOLDER" "HEADERS" ${ARGN})
  set(source ${CMAKE_CURRENT_SOURCE_DIR})
  if(H_FOLDER)
    set(source ${source}/${H_FOLDER})
  endif()
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${source})
  string(REPLACE "/" "+" folder_id "${folder}")
  if(H_HEADERS)
    set(root ${BREVORA_HEADER_ROOTS}/${folder_id}@${target})
    brevora_link_headers(${root} ${folder} ${H_HEADERS})
  else()
    set(root ${BREVORA_HEADER_ROOTS}/${folder_id})
    get_property(made GLOBAL PROPERTY BREVORA_HEADERS_${folder_id})
    if(NOT made)
      set_property(GLOBAL PROPERTY BREVORA_HEADERS_${folder_id} ON)
      file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${source} ${source}/*.h)
      set(test_headers ${headers})
      list(FILTER headers EXCLUDE REGEX "_test_[^/]*\\.h$")
      list(FILTER test_headers INCLUDE REGEX "_test_[^/]*\\.h$")
      brevora_link_headers(${root} ${folder} ${headers})
      brevora_link_headers(${BREVORA_TEST_HEADERS} ${folder} ${test_headers})
    endif()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# brevora_headers_only(<target> <library>)
#
# <target> includes headers of <library> for their constants (a ProgID, a class
# id) without linking it: a test that has the library loaded at run time, as
# another program of the system would.
function(brevora_headers_only target library)
  target_include_directories(${target} PRIVATE $<TARGET_PROPERTY:${library},INTERFACE_INCLUDE_DIRECTORIES>)
endfunction()

# brevora_headers_of(<library> <layers...>)
#
# A shared library made of layers (linked PRIVATE, for their objects) offers the
# headers of its layers to what links it.
function(brevora_headers_of library)
  foreach(layer IN LISTS ARGN)
    target_include_directories(${library} PUBLIC $<TARGET_PROPERTY:${layer},INTERFACE_INCLUDE_DIRECTORIES>)
  endforeach()
endfunction()
