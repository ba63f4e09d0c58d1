# cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DHEADER=<include> -DFUNCTION=<name> -P EmbedFile.cmake
# Writes a C++ source whose function `velkora::FUNCTION()` returns the bytes of INPUT exactly, as a
# std::string_view over static storage.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
# Break the initialiser into lines of 16 bytes so that the generated file stays readable.
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT} at build time; do not edit.\n"
"#include \"${HEADER}\"\n\n"
"namespace velkora {\n"
"namespace {\n"
"const char data[${size} + 1] = {\n    ${bytes}'\\0'};\n"
"} // namespace\n\n"
"std::string_view ${FUNCTION}()\n{\n    return {data, ${size}};\n}\n\n"
"} // namespace velkora\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
