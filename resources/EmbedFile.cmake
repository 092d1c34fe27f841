# Writes a C++ source that holds the bytes of INPUT as `extern const unsigned
# char NAME[]` and `extern const unsigned NAME_size`.
# Run as: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P EmbedFile.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n  " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "extern const unsigned char ${NAME}[] = {\n  ${bytes}\n};\n"
  "extern const unsigned ${NAME}_size = ${size};\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
