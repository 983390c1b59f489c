# Turns a file into a C++ source that holds its bytes, so the executable carries its form
# description. Run as: cmake -DINPUT=... -DOUTPUT=... -DSYMBOL=... -P EmbedFile.cmake
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," array "${bytes}")
file(WRITE "${OUTPUT}"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <string_view>\n"
  "namespace hx {\n"
  "namespace {\n"
  "const unsigned char kData[] = {${array} 0};\n"
  "}\n"
  "extern const std::string_view ${SYMBOL}(reinterpret_cast<const char*>(kData), ${size});\n"
  "} // namespace hx\n")
