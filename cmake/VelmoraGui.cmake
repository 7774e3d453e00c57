# The Qt GUI: one library made of every subsystem's gui/ folder and src/ui, and the
# velmora executable. Widgets stay thin; the logic lives in the core libraries.
# Every folder is named; a missing one is a configure error.
set(VELMORA_GUI_FOLDERS app/gui db/gui opc/gui calc/gui acquisition/gui explorer/gui chart/gui update/gui ui)
set(VELMORA_GUI_SOURCES "")
foreach(folder ${VELMORA_GUI_FOLDERS})
  if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/src/${folder})
    message(FATAL_ERROR "Missing GUI folder: src/${folder}")
  endif()
  file(GLOB folder_sources CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
  list(APPEND VELMORA_GUI_SOURCES ${folder_sources})
endforeach()
list(FILTER VELMORA_GUI_SOURCES EXCLUDE REGEX ".*/app/gui/main\\.cpp$")
# Chart painting and pictures need Qt Gui only: velmora-cli chart draws with them too.
set(VELMORA_CHART_PAINT_SOURCES "")
foreach(name chart_painter chart_fast_lines chart_image)
  list(APPEND VELMORA_CHART_PAINT_SOURCES ${PROJECT_SOURCE_DIR}/src/chart/gui/${name}.cpp
                                          ${PROJECT_SOURCE_DIR}/src/chart/gui/${name}.h)
endforeach()
list(REMOVE_ITEM VELMORA_GUI_SOURCES ${VELMORA_CHART_PAINT_SOURCES})
add_library(velmora_chart_paint STATIC ${VELMORA_CHART_PAINT_SOURCES})
target_include_directories(velmora_chart_paint PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(velmora_chart_paint PUBLIC velmora_options Qt6::Gui velmora_chart Threads::Threads)
add_library(velmora_gui STATIC ${VELMORA_GUI_SOURCES})
set_target_properties(velmora_gui PROPERTIES AUTOMOC ON)
target_include_directories(velmora_gui PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(velmora_gui PUBLIC velmora_options Qt6::Widgets)
target_link_libraries(velmora_gui PUBLIC velmora_base velmora_platform velmora_app velmora_db
                                         velmora_expr velmora_opc velmora_calc velmora_acquisition velmora_chart velmora_forward
                                         velmora_explorer velmora_update)
target_link_libraries(velmora_gui PUBLIC velmora_chart_paint)

add_executable(velmora ${PROJECT_SOURCE_DIR}/src/app/gui/main.cpp ${VELMORA_GUI_RESOURCES})
set_target_properties(velmora PROPERTIES AUTOMOC ON)
target_link_libraries(velmora PRIVATE velmora_gui)

# velmora_qttest(name SOURCES...): a Qt Test executable run offscreen by CTest. A report or
# message box that the test did not script an answer for fails it.
function(velmora_qttest name)
  add_executable(${name} ${ARGN} ${PROJECT_SOURCE_DIR}/tests/support/strict_prompt_qt.cpp)
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE velmora_gui velmora_test_support Qt6::Test)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config")
endfunction()
