# Writes OUTPUT, a C++ file that defines tarnwick::detail::kDefaultSettings{Data,Size} holding the
# bytes of INPUT unchanged.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," body "${hex}")
string(CONCAT _content
  "// Generated from resources/Settings.ini at build time. Do not edit.\n"
  "#include <cstddef>\n"
  "namespace tarnwick::detail {\n"
  "extern const char kDefaultSettingsData[];\n"
  "extern const std::size_t kDefaultSettingsSize;\n"
  "const char kDefaultSettingsData[] = {${body} 0};\n"
  "const std::size_t kDefaultSettingsSize = ${size};\n"
  "}  // namespace tarnwick::detail\n")
# Rewrite only on change, so a reconfigure does not force a rebuild.
set(_old "")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} _old)
endif()
if(NOT _old STREQUAL _content)
  file(WRITE ${OUTPUT} "${_content}")
endif()
