# The layers of the sources, enforced by the build.
#
# Each library exposes only its own headers: they are linked into an include root of its own
# in the build tree (include/<library>/<path below src>), the one folder it puts on its users'
# include path. A target sees its own headers and those of the libraries it links (and of
# what they link in turn), so an include across an edge the README's table of libraries
# forbids fails to compile. The table itself is read here (scripts/check_layers.py --deps)
# and a library linking one its row does not allow stops the configure step; the ctest
# "layers_includes" checks every #include of src/ against the same table.
set(VELMORA_INCLUDE_ROOT ${CMAKE_BINARY_DIR}/include)
# Made anew at each configure: a header removed from the sources leaves no link behind.
file(REMOVE_RECURSE ${VELMORA_INCLUDE_ROOT})

find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  execute_process(COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/scripts/check_layers.py
                          --deps --root ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE layers ERROR_VARIABLE layers_error RESULT_VARIABLE layers_result)
  if(NOT layers_result EQUAL 0)
    message(FATAL_ERROR "The README's table of libraries cannot be read: ${layers_error}")
  endif()
  string(REPLACE "\n" ";" layers "${layers}")
  foreach(line ${layers})
    if(line MATCHES "^([^=]+)=(.*)$")
      string(REPLACE "," ";" allowed "${CMAKE_MATCH_2}")
      set(VELMORA_LAYER_${CMAKE_MATCH_1} "${allowed}" CACHE INTERNAL "")
      set(VELMORA_LAYER_KNOWN_${CMAKE_MATCH_1} TRUE CACHE INTERNAL "")
    endif()
  endforeach()
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
               ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/scripts/check_layers.py)
else()
  message(WARNING "No Python 3: the libraries' links are not checked against the README's table")
endif()

# velmora_check_layer(name deps...): each of our libraries among deps must be one the
# README's table lets name use.
function(velmora_check_layer name)
  if(NOT Python3_Interpreter_FOUND)
    return()
  endif()
  if(NOT VELMORA_LAYER_KNOWN_${name})
    message(FATAL_ERROR "${name} has no row in the README's table of libraries")
  endif()
  foreach(dep ${ARGN})
    if(dep MATCHES "^velmora_" AND NOT dep STREQUAL "velmora_options" AND NOT dep STREQUAL name)
      list(FIND VELMORA_LAYER_${name} ${dep} found)
      if(found EQUAL -1)
        message(FATAL_ERROR "${name} links ${dep}, which the README's table of libraries does "
                            "not let it use (it may use: ${VELMORA_LAYER_${name}})")
      endif()
    endif()
  endforeach()
endfunction()

# velmora_expose_headers(target files...): links the headers among files (paths relative to
# the current source folder, or absolute) into the target's include root and puts that root
# on the include path: the target's users' too for a library.
function(velmora_expose_headers name)
  set(root ${VELMORA_INCLUDE_ROOT}/${name})
  file(MAKE_DIRECTORY ${root})
  foreach(file ${ARGN})
    if(NOT file MATCHES "\\.(h|inc)$")
      continue()
    endif()
    get_filename_component(path ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR}/src ${path})
    if(relative MATCHES "^\\.\\./")
      message(FATAL_ERROR "${name}: ${path} lies outside src/")
    endif()
    get_filename_component(folder ${root}/${relative} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${path} ${root}/${relative} SYMBOLIC COPY_ON_ERROR)
  endforeach()
  get_target_property(type ${name} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${name} PRIVATE ${root})
  else()
    target_include_directories(${name} PUBLIC ${root})
  endif()
endfunction()
