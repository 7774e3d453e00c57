# fix_widl_proxy.cmake on a piece of widl output: the string pointer parameter gets its
# own FC_RP description, a parameter that already names its FC_RP and one the server
# does not allocate stay as they were.
set(proxy ${WORK}/fix_widl_proxy_sample.c)
file(WRITE ${proxy} "/* 600 (parameter szItemID) */
        NdrFcShort(0x2013),\t/* flags: must size, must free, out, srv size=8 */
        NdrFcShort(0x10),\t/* stack offset = 16 */
        NdrFcShort(0xd0),\t/* type offset = 208 */
/* 606 (parameter ppErrors) */
        NdrFcShort(0x2013),\t/* flags: must size, must free, out, srv size=8 */
        NdrFcShort(0x18),\t/* stack offset = 24 */
        NdrFcShort(0x67c),\t/* type offset = 1660 */
/* 612 (parameter szName) */
        NdrFcShort(0x10b),\t/* flags: must size, must free, in, simple ref */
        NdrFcShort(0x8),\t/* stack offset = 8 */
        NdrFcShort(0xd0),\t/* type offset = 208 */
/* 204 (LPWSTR *) */
        0x11, 0x14,\t\t/* FC_RP [allocated_on_stack] [pointer_deref] */
        NdrFcShort(0x2),\t/* Offset= 2 (208) */
/* 208 (LPWSTR) */
        0x13, 0x8,\t/* FC_OP [simple_pointer] */
/* 824 (parameter ppszNewItemIDs) */
        NdrFcShort(0x2013),\t/* flags: must size, must free, out, srv size=8 */
        NdrFcShort(0x20),\t/* stack offset = 32 */
        NdrFcShort(0x58a),\t/* type offset = 1418 */
/* 1410 (LPWSTR **) */
        0x11, 0x14,\t\t/* FC_RP [allocated_on_stack] [pointer_deref] */
        NdrFcShort(0x2),\t/* Offset= 2 (1414) */
/* 1414 (LPWSTR *) */
        0x13, 0x0,\t/* FC_OP */
        NdrFcShort(0x2),
/* 1418 (LPWSTR *) */
        0x21,\t/* FC_BOGUS_ARRAY */
")
execute_process(COMMAND ${CMAKE_COMMAND} -DPROXY=${proxy} -P ${SCRIPT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the script failed: ${result}")
endif()
file(READ ${proxy} text)
string(REGEX MATCHALL "type offset = [0-9]+( \\(mended\\))?" offsets "${text}")
set(expected
    "type offset = 204 (mended);type offset = 1660;type offset = 208;type offset = 1410 (mended)")
if(NOT offsets STREQUAL expected)
  message(FATAL_ERROR "offsets after the repair: '${offsets}', expected '${expected}'")
endif()
if(NOT text MATCHES "NdrFcShort\\(0xcc\\),\t/\\* type offset = 204 \\(mended\\)")
  message(FATAL_ERROR "the mended offset is not written as 0xcc")
endif()
