# Mends the proxy code widl generates for [out] parameters that point to a string
# pointer ([out, string] LPWSTR*): widl gives such a parameter the type offset of the
# pointee (FC_OP [simple_pointer]) instead of that of its own FC_RP [allocated_on_stack]
# [pointer_deref] description, which rpcrt4's interpreter needs for parameters it
# allocates on the server stack. The server then marshals the address of its stack
# slot as the string, and the client receives a null or broken string (seen with Wine
# 8 and widl 7/8). Every such parameter is pointed at its FC_RP description.
# Usage: cmake -DPROXY=opc_da_p.c -P fix_widl_proxy.cmake
file(READ ${PROXY} text)
# The FC_RP descriptions that lead, two bytes on, to a string pointer: "pointer at N".
string(REGEX MATCHALL
       "/\\* ([0-9]+) \\([^)]*\\) \\*/\n[ \t]+0x11, 0x14,[^\n]*\n[ \t]+NdrFcShort\\(0x2\\),[^\n]*\\(([0-9]+)\\) \\*/"
       pairs "${text}")
set(count 0)
foreach(pair IN LISTS pairs)
  string(REGEX MATCH "^/\\* ([0-9]+) " _ "${pair}")
  set(outer ${CMAKE_MATCH_1})
  string(REGEX MATCH "\\(([0-9]+)\\) \\*/$" _ "${pair}")
  set(inner ${CMAKE_MATCH_1})
  math(EXPR outer_hex "${outer}" OUTPUT_FORMAT HEXADECIMAL)
  # Only parameters the server allocates ("srv size") and that name the pointee.
  string(REGEX REPLACE
         "(srv size=8 \\*/\n[ \t]+NdrFcShort\\(0x[0-9a-f]+\\),[^\n]*\n[ \t]+)NdrFcShort\\(0x[0-9a-f]+\\),\t/\\* type offset = ${inner} \\*/"
         "\\1NdrFcShort(${outer_hex}),\t/* type offset = ${outer} (mended) */" text "${text}")
  math(EXPR count "${count} + 1")
endforeach()
# The same for an [out, string, size_is(, n)] LPWSTR** (LookupItemIDs): there widl names
# the array of strings, two steps below the parameter's FC_RP through an FC_OP.
string(REGEX MATCHALL
       "/\\* ([0-9]+) \\([^)]*\\) \\*/\n[ \t]+0x11, 0x14,[^\n]*\n[ \t]+NdrFcShort\\(0x2\\),[^\n]*\\(([0-9]+)\\) \\*/\n/\\* [0-9]+ \\([^)]*\\) \\*/\n[ \t]+0x13, 0x0,[^\n]*\n[ \t]+NdrFcShort\\(0x2\\),"
       chains "${text}")
foreach(chain IN LISTS chains)
  string(REGEX MATCH "^/\\* ([0-9]+) " _ "${chain}")
  set(outer ${CMAKE_MATCH_1})
  string(REGEX MATCH "\\(([0-9]+)\\) \\*/\n/" _ "${chain}")
  math(EXPR inner "${CMAKE_MATCH_1} + 4")
  math(EXPR outer_hex "${outer}" OUTPUT_FORMAT HEXADECIMAL)
  string(REGEX REPLACE
         "(srv size=8 \\*/\n[ \t]+NdrFcShort\\(0x[0-9a-f]+\\),[^\n]*\n[ \t]+)NdrFcShort\\(0x[0-9a-f]+\\),\t/\\* type offset = ${inner} \\*/"
         "\\1NdrFcShort(${outer_hex}),\t/* type offset = ${outer} (mended) */" text "${text}")
  math(EXPR count "${count} + 1")
endforeach()
file(WRITE ${PROXY} "${text}")
message(STATUS "fix_widl_proxy: ${count} string pointer descriptions checked")
