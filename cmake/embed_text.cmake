# Writes OUTPUT, a C++ file defining `const char* NAMESPACE::SYMBOL()` (NAMESPACE defaults to
# lib) that returns the text of every file in INPUTS (a ;-separated list), each preceded by a
# "#@file NAME" line.
if(NOT DEFINED NAMESPACE OR NAMESPACE STREQUAL "")
  set(NAMESPACE lib)
endif()
set(bytes "")
string(REPLACE " " ";" INPUTS "${INPUTS}")
list(SORT INPUTS)
foreach(f ${INPUTS})
  get_filename_component(name ${f} NAME)
  file(READ ${f} content HEX)
  string(HEX "#@file ${name}\n" marker)
  string(APPEND bytes "${marker}${content}0a")
endforeach()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," array "${bytes}")
file(WRITE ${OUTPUT}
  "// Generated from resources/: do not edit.\n"
  "namespace ${NAMESPACE} {\n"
  "static const unsigned char kData[] = {${array} 0x00};\n"
  "const char* ${SYMBOL}() { return reinterpret_cast<const char*>(kData); }\n"
  "}  // namespace ${NAMESPACE}\n")
