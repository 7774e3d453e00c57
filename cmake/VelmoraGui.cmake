# The Qt GUI: one library made of every subsystem's gui/ folder and src/ui, and the
# velmora executable. Widgets stay thin; the logic lives in the core libraries.
file(GLOB VELMORA_GUI_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/*/gui/*.cpp ${PROJECT_SOURCE_DIR}/src/*/gui/*.h
  ${PROJECT_SOURCE_DIR}/src/ui/*.cpp ${PROJECT_SOURCE_DIR}/src/ui/*.h)
list(FILTER VELMORA_GUI_SOURCES EXCLUDE REGEX ".*/main\\.cpp$")
add_library(velmora_gui STATIC ${VELMORA_GUI_SOURCES})
set_target_properties(velmora_gui PROPERTIES AUTOMOC ON)
target_include_directories(velmora_gui PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(velmora_gui PUBLIC velmora_options Qt6::Widgets)
foreach(lib velmora_platform velmora_app velmora_db velmora_expr velmora_opc velmora_calc
            velmora_acquisition velmora_explorer velmora_chart velmora_update)
  if(TARGET ${lib})
    target_link_libraries(velmora_gui PUBLIC ${lib})
  endif()
endforeach()
if(EXISTS ${PROJECT_SOURCE_DIR}/src/app/gui/resources.qrc)
  qt_add_resources(VELMORA_GUI_RESOURCES ${PROJECT_SOURCE_DIR}/src/app/gui/resources.qrc)
endif()

add_executable(velmora ${PROJECT_SOURCE_DIR}/src/app/gui/main.cpp ${VELMORA_GUI_RESOURCES})
set_target_properties(velmora PROPERTIES AUTOMOC ON)
target_link_libraries(velmora PRIVATE velmora_gui)

# velmora_qttest(name SOURCES...): a Qt Test executable run offscreen by CTest.
function(velmora_qttest name)
  add_executable(${name} ${ARGN})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_link_libraries(${name} PRIVATE velmora_gui velmora_test_support Qt6::Test)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config")
endfunction()
