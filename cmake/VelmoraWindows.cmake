# The Windows build: the Qt-free core libraries (SQLite compiled from Debian's source
# package, zlib from the mingw-w64 package), velmora-cli.exe with the OPC commands on the
# system's COM and the recorder's commands (db, project, acquire, acquisitions), the OPC DA
# proxy/stub DLL and velmora-simserver.exe (src/platform/win). How the whole program is
# built on Windows is told in docs/windows-backend.md.
find_package(Threads REQUIRED)
# The static zlib: the programs run without the compiler's or zlib's DLLs.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
include(cmake/VelmoraSqliteSource.cmake)
velmora_subdirectories(src base platform app opc db calc acquisition explorer)
add_subdirectory(src/cli)
# velmora-comcheck.exe: the call transcripts through real COM (tests/windows/wine_test.sh).
add_subdirectory(tests/windows)
