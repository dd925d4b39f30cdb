# Makes one compressed manual page: the page's text, written once in
# TEMPLATE, with the usage text PROGRAM prints for --help in its OPTIONS
# section, word for word as a terminal shows it.
#   cmake -DPROGRAM=... -DTEMPLATE=... -DPAGE=... -DGZIP=... -DDX_RELEASE_DATE=...
#         -DDX_VERSION=... -DDX_MODULE_PATH=... -P make-man-page.cmake
# writes PAGE and PAGE.gz.

foreach(var PROGRAM TEMPLATE PAGE GZIP DX_RELEASE_DATE DX_VERSION DX_MODULE_PATH)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make-man-page.cmake: ${var} is not given")
  endif()
endforeach()

# The desktop host answers --help without a display; none is offered, so a
# build on a desktop makes the same page as one on a server.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})
set(ENV{LC_ALL} C.UTF-8)
# In a sanitizer build the page still needs only the text: a leak report at
# exit is the tests' business, not the page's.
set(ENV{ASAN_OPTIONS} detect_leaks=0)
execute_process(COMMAND ${PROGRAM} --help RESULT_VARIABLE status OUTPUT_VARIABLE usage ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR usage STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${status}): ${errors}")
endif()

# Roff reads a backslash as an escape, a line that starts with a dot or an
# apostrophe as a request, and "-" as a hyphen that a terminal may show as
# another character: an option copied from the page must be what the program
# takes.
string(REGEX REPLACE "\n+$" "" usage "${usage}")
string(REPLACE "\\" "\\e" usage "${usage}")
string(REPLACE "-" "\\-" usage "${usage}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" usage "${usage}")
set(DX_MAN_USAGE ".nf\n${usage}\n.fi")

configure_file(${TEMPLATE} ${PAGE} @ONLY)
# Debian wants pages compressed at the highest level, with no name or time
# stamp inside, so that two builds make the same file.
execute_process(COMMAND ${GZIP} -9nf --keep ${PAGE} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip ${PAGE} failed")
endif()
