# Every input fuzzer's corpus replayed through its entry point with any compiler, so the
# ordinary test run checks every input that ever found a fault (included by tests/).
set(VELMORA_CORPUS_REPLAYS
    "project_file|velmora_db" "version_file|velmora_update" "rtf|velmora_base"
    "item_list|velmora_opc" "sim_config|velmora_platform" "settings|velmora_update")
foreach(entry IN LISTS VELMORA_CORPUS_REPLAYS)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 library)
  add_executable(${name}_corpus_replay ${CMAKE_CURRENT_LIST_DIR}/${name}_fuzz.cpp
                                       ${CMAKE_CURRENT_LIST_DIR}/corpus_replay_main.cpp)
  target_link_libraries(${name}_corpus_replay PRIVATE velmora_options ${library})
  set_target_properties(${name}_corpus_replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                                         ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME fuzz_${name}_corpus_replay
           COMMAND ${name}_corpus_replay ${CMAKE_CURRENT_LIST_DIR}/corpus/${name})
endforeach()
