# Warning and sanitizer flags shared by every target of the project.
add_library(velmora_options INTERFACE)
target_compile_options(velmora_options INTERFACE -Wall -Wextra)
# GCC 12 reports impossible std::string copies at -O3 (-Wrestrict false positives in
# libstdc++); they are not faults of ours.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(velmora_options INTERFACE -Wno-restrict)
endif()
if(VELMORA_WERROR)
  target_compile_options(velmora_options INTERFACE -Werror)
endif()
if(VELMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
# ThreadSanitizer, for the worker threads; it cannot be combined with AddressSanitizer.
option(VELMORA_TSAN "Build with ThreadSanitizer" OFF)
if(VELMORA_TSAN)
  if(VELMORA_SANITIZE)
    message(FATAL_ERROR "VELMORA_TSAN and VELMORA_SANITIZE exclude each other")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# velmora_core_library(name SOURCES... DEPS...): a Qt-free static library of one subsystem.
# It exposes its own headers only, and may link only what the README's table lets it use
# (cmake/VelmoraLayers.cmake).
# LAYER names the table's row when the library is part of another's folder.
function(velmora_core_library name)
  cmake_parse_arguments(ARG "" "LAYER" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_LAYER)
    set(ARG_LAYER ${name})
  endif()
  velmora_check_layer(${ARG_LAYER} ${ARG_DEPS})
  add_library(${name} STATIC ${ARG_SOURCES})
  velmora_expose_headers(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC velmora_options ${ARG_DEPS})
endfunction()

# velmora_gtest(name SOURCES... DEPS...): a GoogleTest executable registered with CTest;
# its tests carry the executable's name as label, so a preset can select one executable.
function(velmora_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE velmora_options velmora_test_support ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS ${name})
endfunction()

# velmora_subdirectories(parent folder...): adds each folder; a folder without a
# CMakeLists.txt is a configure error, never a silently smaller build.
function(velmora_subdirectories parent)
  foreach(folder ${ARGN})
    set(path ${CMAKE_CURRENT_SOURCE_DIR}/${parent}/${folder})
    if(NOT EXISTS ${path}/CMakeLists.txt)
      message(FATAL_ERROR "Missing build file: ${path}/CMakeLists.txt")
    endif()
    add_subdirectory(${path} ${CMAKE_CURRENT_BINARY_DIR}/${parent}/${folder})
  endforeach()
endfunction()

# velmora_check_listed(files...): every source of the current folder must be listed.
function(velmora_check_listed)
  file(GLOB present RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(REMOVE_ITEM present ${ARGN})
  if(present)
    message(FATAL_ERROR "Not in any library of ${CMAKE_CURRENT_SOURCE_DIR}: ${present}")
  endif()
endfunction()
