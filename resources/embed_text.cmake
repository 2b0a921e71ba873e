# cmake -DINPUT=<help_text.txt> -DOUTPUT=<generated .cpp> -P embed_text.cmake
#
# The text is kept with LF line breaks so that it is easy to edit; the
# application's texts break lines with CR alone and do not end with a line
# break, so each LF becomes a CR and one trailing LF is dropped. The bytes are
# written as character literals, so non-ASCII UTF-8 passes through untouched.

if(NOT DEFINED INPUT OR NOT DEFINED OUTPUT)
  message(FATAL_ERROR "embed_text.cmake needs -DINPUT=... and -DOUTPUT=...")
endif()

file(READ "${INPUT}" hex HEX)
string(REGEX MATCHALL "[0-9a-f][0-9a-f]" bytes "${hex}")
list(LENGTH bytes count)
if(count EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty")
endif()

# A CR in the source would mean CRLF line ends crept in (a checkout that
# converts them): they would become blank lines after the conversion.
list(FIND bytes "0d" cr_at)
if(NOT cr_at EQUAL -1)
  message(FATAL_ERROR "${INPUT} holds a CR at byte ${cr_at}; store it with LF line ends only")
endif()

math(EXPR last "${count} - 1")
list(GET bytes ${last} last_byte)
if(last_byte STREQUAL "0a")
  list(REMOVE_AT bytes ${last})
endif()
list(TRANSFORM bytes REPLACE "^0a$" "0d")

set(body "")
set(line "")
set(in_line 0)
foreach(byte IN LISTS bytes)
  string(APPEND line "'\\x${byte}',")
  math(EXPR in_line "${in_line} + 1")
  if(in_line EQUAL 16)
    string(APPEND body "    ${line}\n")
    set(line "")
    set(in_line 0)
  endif()
endforeach()
if(NOT line STREQUAL "")
  string(APPEND body "    ${line}\n")
endif()

file(WRITE "${OUTPUT}"
"// Generated from help_text.txt by embed_text.cmake. Do not edit.
#include \"resources/help_text.h\"

namespace kestrova {
namespace {
constexpr char kHelpTextBytes[] = {
${body}};
}  // namespace

std::string_view HelpText() { return {kHelpTextBytes, sizeof kHelpTextBytes}; }

}  // namespace kestrova
")
