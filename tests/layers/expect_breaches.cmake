# Runs the layer check on the fixture tree: it must fail and name each breach the tree holds.
execute_process(COMMAND ${PYTHON} ${SCRIPT} --root ${ROOT}
                RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_VARIABLE output)
if(NOT result EQUAL 1)
  message(FATAL_ERROR "the check ended with ${result}, not 1:\n${output}${errors}")
endif()
foreach(expected
        "src/base/low.h:3: velmora_base is free of Qt but includes <QString>"
        "src/base/low.h:5: velmora_base may not include \"app/shell.h\" (velmora_app)"
        "src/paint/painter.cpp:3: velmora_paint may use Qt Gui only but includes <QWidget>"
        "src/stray/lost.cpp: folder src/stray is not in the README's table of libraries"
        "src/views/view.cpp:4: velmora_views may not include \"app/shell.h\" (velmora_app)"
        "src/app/shell.h: include loop: app/shell.h -> base/low.h -> app/shell.h"
        "6 fault(s)")
  string(FIND "${errors}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not report: ${expected}\nIt said:\n${errors}")
  endif()
endforeach()
