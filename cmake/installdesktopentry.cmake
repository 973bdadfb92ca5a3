# Run by `cmake --install`: writes the desktop entry with the installed
# program's absolute path and installs it. An absolute path lets the menu
# start a copy installed in ~/.local even where ~/.local/bin is not on the
# desktop's PATH.
#
# In: TIVORAMA_DESKTOP_TEMPLATE, TIVORAMA_DESKTOP_STAGE (a folder of the build
# to write into), TIVORAMA_BINDIR and TIVORAMA_DATADIR (relative to the
# prefix or absolute), and CMAKE_INSTALL_PREFIX as the install chose it.

function(tivorama_under_prefix out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
  endif()
endfunction()

tivorama_under_prefix(program "${TIVORAMA_BINDIR}/tivorama")
tivorama_under_prefix(applications "${TIVORAMA_DATADIR}/applications")

# The desktop entry's escapes: a string value doubles its backslashes; the
# Exec line quotes a path holding a character it reserves, with ", `, $ and
# \ escaped inside the quotes (before the string's own escaping), and a
# literal % is written twice.
string(REPLACE "\\" "\\\\" TRYEXEC "${program}")
set(exec "${program}")
if(exec MATCHES "[] \t\"'\\\\><~|&;$*?#()`[]")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" EXEC "${exec}")

# Staged per destination, so that two installs at once cannot mix.
string(MD5 stage "$ENV{DESTDIR}${applications}")
set(staged "${TIVORAMA_DESKTOP_STAGE}/${stage}/tivorama.desktop")
configure_file("${TIVORAMA_DESKTOP_TEMPLATE}" "${staged}" @ONLY)
file(INSTALL DESTINATION "${applications}" TYPE FILE FILES "${staged}")
