# Writes the man page from the program's own --help text, so that the two never disagree.
# Called with -DPROGRAM=<ravolo> -DTEMPLATE=<ravolo.1.in> -DOUTPUT=<ravolo.1>
# -DPROJECT_VERSION=<version> -DRAVOLO_DATE=<date>.
execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed: ${result}")
endif()

# The English half comes first and ends at the first blank line.
string(FIND "${help}" "\n\n" english_end)
string(SUBSTRING "${help}" 0 ${english_end} english)
string(REPLACE "\n" ";" lines "${english}")
list(POP_FRONT lines usage RAVOLO_SUMMARY)
string(REGEX REPLACE "\\.$" "" RAVOLO_SUMMARY "${RAVOLO_SUMMARY}")

# roff: a "-" in a name is a minus sign.
string(REGEX REPLACE "^Usage: ravolo " "" RAVOLO_SYNOPSIS "${usage}")
string(REPLACE "-" "\\-" RAVOLO_SYNOPSIS "${RAVOLO_SYNOPSIS}")
set(RAVOLO_OPTIONS "")
foreach(line IN LISTS lines)
    if(NOT line MATCHES "^  +([^ ]+) +(.+)$")
        message(FATAL_ERROR "unexpected line in --help: '${line}'")
    endif()
    string(REPLACE "-" "\\-" name "${CMAKE_MATCH_1}")
    string(APPEND RAVOLO_OPTIONS ".TP\n.B ${name}\n${CMAKE_MATCH_2}\n")
endforeach()
string(STRIP "${RAVOLO_OPTIONS}" RAVOLO_OPTIONS)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
