# Include roots that show each target only what it may use.
#
# Nothing includes from the project root: that would let any file reach any other. Instead
# each target gets an include root in the build tree holding symbolic links to the folders
# (or, for the framework, the single public headers) it is allowed to see, so includes still
# read "framework/graphics/Canvas.h" or "widgets/gradbox/Gradbox.h" while an include of a
# higher layer, of another library's private header or of Qt above the framework does not
# compile. tests/layering checks that it stays so.

set(HX_INCLUDE_ROOT ${CMAKE_BINARY_DIR}/include)

# Links <root>/<path> to the source file or folder <path>.
function(hx_link_into root path)
  get_filename_component(parent ${root}/${path} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(REMOVE ${root}/${path})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${path} ${root}/${path} SYMBOLIC)
endfunction()

# hx_expose(<target> <PUBLIC|PRIVATE|INTERFACE> <folder>...): "<folder>/..." becomes
# includable by <target> (and, unless PRIVATE, by whatever links it). Folders are given
# from the project root, e.g. widgets/gradbox.
function(hx_expose target scope)
  set(root ${HX_INCLUDE_ROOT}/${target}.${scope})
  foreach(folder ${ARGN})
    hx_link_into(${root} ${folder})
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# hx_framework_layer(<layer> SOURCES <cpp>... [PRIVATE_HEADERS <h>...]): the library
# fw_<layer> from framework/<layer>/. Its other headers are public: they reach everything that
# links fw_<layer>, and must not include Qt. The private headers (every one that holds Qt
# types, and the library's internal pieces) reach only the library itself and framework
# libraries that link fw_<layer>_internal, which nothing outside framework/ may do.
function(hx_framework_layer layer)
  cmake_parse_arguments(arg "" "" "SOURCES;PRIVATE_HEADERS" ${ARGN})
  set(folder framework/${layer})
  set(public_root ${HX_INCLUDE_ROOT}/fw_${layer})
  set(private_root ${HX_INCLUDE_ROOT}/fw_${layer}_internal)
  file(REMOVE_RECURSE ${public_root} ${private_root})
  file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/${folder}
       ${CMAKE_SOURCE_DIR}/${folder}/*.h)
  foreach(header ${headers})
    if(header IN_LIST arg_PRIVATE_HEADERS)
      hx_link_into(${private_root} ${folder}/${header})
      continue()
    endif()
    file(STRINGS ${CMAKE_SOURCE_DIR}/${folder}/${header} qt_includes REGEX "^#[ \t]*include[ \t]*<Q")
    if(qt_includes)
      message(FATAL_ERROR "${folder}/${header} includes Qt: list it among the layer's PRIVATE_HEADERS")
    endif()
    hx_link_into(${public_root} ${folder}/${header})
  endforeach()
  file(MAKE_DIRECTORY ${public_root} ${private_root})

  add_library(fw_${layer} STATIC ${arg_SOURCES})
  target_include_directories(fw_${layer} PUBLIC ${public_root} PRIVATE ${private_root})
  add_library(fw_${layer}_internal INTERFACE)
  target_include_directories(fw_${layer}_internal INTERFACE ${private_root})
endfunction()
