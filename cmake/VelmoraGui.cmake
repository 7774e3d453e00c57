# The Qt GUI in three libraries and the velmora executable. Widgets stay thin; the logic
# lives in the core libraries. Every folder is named; a missing one is a configure error.
#  - velmora_chart_paint: chart painting and pictures, Qt Gui only (velmora-cli chart too);
#  - velmora_views: every view, dialog and widget (each subsystem's gui/ folder and src/ui);
#    it cannot see the shell;
#  - velmora_gui: the shell (src/app/gui), which builds the views in one place.
set(VELMORA_VIEW_FOLDERS db/gui opc/gui calc/gui acquisition/gui explorer/gui chart/gui update/gui ui)
set(VELMORA_VIEW_SOURCES "")
foreach(folder ${VELMORA_VIEW_FOLDERS} app/gui)
  if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/src/${folder})
    message(FATAL_ERROR "Missing GUI folder: src/${folder}")
  endif()
endforeach()
foreach(folder ${VELMORA_VIEW_FOLDERS})
  file(GLOB folder_sources CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
  list(APPEND VELMORA_VIEW_SOURCES ${folder_sources})
endforeach()
file(GLOB VELMORA_SHELL_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/app/gui/*.cpp ${PROJECT_SOURCE_DIR}/src/app/gui/*.h)
list(FILTER VELMORA_SHELL_SOURCES EXCLUDE REGEX ".*/app/gui/main\\.cpp$")
# Chart painting and pictures need Qt Gui only: velmora-cli chart draws with them too.
set(VELMORA_CHART_PAINT_SOURCES "")
foreach(name chart_painter chart_fast_lines chart_image)
  list(APPEND VELMORA_CHART_PAINT_SOURCES ${PROJECT_SOURCE_DIR}/src/chart/gui/${name}.cpp
                                          ${PROJECT_SOURCE_DIR}/src/chart/gui/${name}.h)
endforeach()
list(REMOVE_ITEM VELMORA_VIEW_SOURCES ${VELMORA_CHART_PAINT_SOURCES})

set(chart_paint_deps velmora_chart)
velmora_check_layer(velmora_chart_paint ${chart_paint_deps})
add_library(velmora_chart_paint STATIC ${VELMORA_CHART_PAINT_SOURCES})
velmora_expose_headers(velmora_chart_paint ${VELMORA_CHART_PAINT_SOURCES})
target_link_libraries(velmora_chart_paint PUBLIC velmora_options Qt6::Gui ${chart_paint_deps} Threads::Threads)

set(view_deps velmora_base velmora_platform velmora_db velmora_expr velmora_opc velmora_calc
              velmora_acquisition velmora_chart velmora_explorer velmora_update velmora_chart_paint
              velmora_forward)
velmora_check_layer(velmora_views ${view_deps})
add_library(velmora_views STATIC ${VELMORA_VIEW_SOURCES})
set_target_properties(velmora_views PROPERTIES AUTOMOC ON)
velmora_expose_headers(velmora_views ${VELMORA_VIEW_SOURCES})
target_link_libraries(velmora_views PUBLIC velmora_options Qt6::Widgets ${view_deps})

set(shell_deps velmora_app velmora_views)
velmora_check_layer(velmora_gui ${shell_deps})
add_library(velmora_gui STATIC ${VELMORA_SHELL_SOURCES})
set_target_properties(velmora_gui PROPERTIES AUTOMOC ON)
velmora_expose_headers(velmora_gui ${VELMORA_SHELL_SOURCES})
target_link_libraries(velmora_gui PUBLIC velmora_options Qt6::Widgets ${shell_deps})

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
