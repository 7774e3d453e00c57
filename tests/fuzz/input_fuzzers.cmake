# The fuzzers of the program's outside inputs (included by this folder's CMakeLists.txt).
#   cmake --build build-fuzz --target project_file_fuzz
#   build-fuzz/bin/project_file_fuzz -max_total_time=600 tests/fuzz/corpus/project_file
# Each compiles its parser's source with the instrumentation, linked against the ordinary
# libraries for the rest (the parser's own object is then not taken from them). The corpora
# are replayed by ordinary tests in every build (corpus_replay.cmake).
set(FUZZ_SRC ${PROJECT_SOURCE_DIR}/src)
set(VELMORA_INPUT_FUZZERS
    "project_file_fuzz|db/project_file.cpp|velmora_base"
    "version_file_fuzz|update/version_file.cpp|velmora_base"
    "rtf_fuzz|base/rtf.cpp|velmora_base"
    "item_list_fuzz|opc/item_list_file.cpp|velmora_base"
    "sim_config_fuzz|platform/sim/sim_config.cpp|velmora_platform"
    "settings_fuzz|update/file_settings_store.cpp|velmora_base")
foreach(entry IN LISTS VELMORA_INPUT_FUZZERS)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 fuzzer)
  list(GET parts 1 parser)
  list(GET parts 2 library)
  add_executable(${fuzzer} ${CMAKE_CURRENT_LIST_DIR}/${fuzzer}.cpp ${FUZZ_SRC}/${parser})
  target_include_directories(${fuzzer} PRIVATE ${FUZZ_SRC})
  target_compile_options(${fuzzer} PRIVATE ${VELMORA_FUZZ_FLAGS})
  target_link_options(${fuzzer} PRIVATE ${VELMORA_FUZZ_FLAGS})
  target_link_libraries(${fuzzer} PRIVATE velmora_options ${library})
endforeach()
