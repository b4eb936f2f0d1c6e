# Run by `cmake --install`: writes share/applications/sonoquant.desktop from its template, with the
# installed program's full path in Exec. Set before it: SQ_DESKTOP_TEMPLATE, SQ_INSTALL_BINDIR,
# SQ_INSTALL_DATADIR.
if(IS_ABSOLUTE "${SQ_INSTALL_BINDIR}")
    set(sq_program "${SQ_INSTALL_BINDIR}/sonoquant")
else()
    set(sq_program "${CMAKE_INSTALL_PREFIX}/${SQ_INSTALL_BINDIR}/sonoquant")
endif()
if(IS_ABSOLUTE "${SQ_INSTALL_DATADIR}")
    set(sq_entry "$ENV{DESTDIR}${SQ_INSTALL_DATADIR}/applications/sonoquant.desktop")
else()
    set(sq_entry "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${SQ_INSTALL_DATADIR}/applications/sonoquant.desktop")
endif()

# Exec takes the path as one quoted argument: inside the quotes \, ", ` and $ take a backslash; the
# entry's own string escapes then double every backslash, and % is written %%.
string(REPLACE "\\" "\\\\" sq_exec "${sq_program}")
string(REPLACE "\"" "\\\"" sq_exec "${sq_exec}")
string(REPLACE "`" "\\`" sq_exec "${sq_exec}")
string(REPLACE "$" "\\$" sq_exec "${sq_exec}")
string(REPLACE "\\" "\\\\" sq_exec "${sq_exec}")
string(REPLACE "%" "%%" sq_exec "${sq_exec}")
set(SQ_DESKTOP_EXEC "\"${sq_exec}\"")

message(STATUS "Installing: ${sq_entry}")
configure_file("${SQ_DESKTOP_TEMPLATE}" "${sq_entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${sq_entry}")
