# Writes INPUT into OUTPUT as a C++ header holding its bytes in the array NAME, so a data
# file travels inside the program.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE ${OUTPUT} "#pragma once\n// Made by the build from ${INPUT}; do not edit.\n"
     "inline constexpr char ${NAME}[${size} + 1] = {${bytes} 0};\n"
     "inline constexpr int ${NAME}_size = ${size};\n")
