# Values for the desktop entry's keys, escaped as freedesktop.org's desktop
# entry format prescribes. Included by the install step, which writes the
# entry for whatever prefix it installs into (a space, '%' or '$' in it
# included).

# OUT = TEXT as a string value: backslash, newline, tab and carriage return
# become \\, \n, \t and \r. (Path= is such a value.)
function(winterhain_desktop_string out text)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  string(REPLACE "\t" "\\t" text "${text}")
  string(REPLACE "\r" "\\r" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# OUT = the Exec= value that runs PROGRAM (a path) with no arguments. Three
# layers, innermost first:
#  - a path with a character the Exec key reserves (space, tab, newline,
#    " ' \ > < ~ | & ; $ * ? # ( ) `) is put in double quotes, and inside
#    them " ` $ and \ get a backslash;
#  - a % becomes %%, since %x is a field code for the launcher to expand;
#  - the whole is then escaped as any string value, so each backslash of
#    the quoting is written twice: "/a$b" is written "/a\\$b".
# GLib's launchers (gio, GNOME) look for the program named first before they
# expand the field codes, so they never find a path holding %%: such a path
# is handed to env(1) as its argument instead, where it is expanded.
function(winterhain_desktop_exec out program)
  set(arg "${program}")
  if(arg MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
    string(REPLACE "\\" "\\\\" arg "${arg}")
    string(REPLACE "\"" "\\\"" arg "${arg}")
    string(REPLACE "`" "\\`" arg "${arg}")
    string(REPLACE "$" "\\$" arg "${arg}")
    set(arg "\"${arg}\"")
  endif()
  if(arg MATCHES "%")
    string(REPLACE "%" "%%" arg "${arg}")
    set(arg "env ${arg}")
  endif()
  winterhain_desktop_string(arg "${arg}")
  set(${out} "${arg}" PARENT_SCOPE)
endfunction()
