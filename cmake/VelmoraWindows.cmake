# The Windows build: the core libraries that need neither SQLite nor Qt, velmora-cli.exe
# with the commands servers, network, browse, read and eval on the system's COM, the
# OPC DA proxy/stub DLL and velmora-simserver.exe (src/platform/win). How the whole
# program is built on Windows is told in docs/windows-backend.md.
find_package(Threads REQUIRED)
velmora_subdirectories(src base platform opc calc)
add_subdirectory(src/cli)
# velmora-comcheck.exe: the call transcripts through real COM (tests/windows/wine_test.sh).
add_subdirectory(tests/windows)
