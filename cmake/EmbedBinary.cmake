# Compiles a binary file into the program as `namespace pwx { const unsigned char <SYMBOL>[];
# const std::size_t <SYMBOL>Size; }`, declared in HEADER. The source is generated at build
# time, so editing the file regenerates it without re-running CMake.
#
#   pwx_embed_binary(<out_var> INPUT <file> SYMBOL <identifier> HEADER <include>)

set(_PWX_EMBED_BINARY_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

function(pwx_embed_binary out_var)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "INPUT;SYMBOL;HEADER" "")
  set(output "${CMAKE_CURRENT_BINARY_DIR}/embedded/${arg_SYMBOL}.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${CMAKE_COMMAND}" "-DINPUT=${arg_INPUT}" "-DOUTPUT=${output}"
            "-DSYMBOL=${arg_SYMBOL}" "-DHEADER=${arg_HEADER}" -P "${_PWX_EMBED_BINARY_SCRIPT}"
    DEPENDS "${arg_INPUT}" "${_PWX_EMBED_BINARY_SCRIPT}"
    COMMENT "Embedding ${arg_INPUT} as ${arg_SYMBOL}"
    VERBATIM)
  set(${out_var} "${output}" PARENT_SCOPE)
endfunction()

# The generator, run by the command above with `cmake -P`.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  file(READ "${INPUT}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  # 16 bytes a line, each as "0x.., ".
  string(REPEAT "[0-9a-f]" 32 line)
  string(REGEX REPLACE "${line}" "\\0\n" hex "${hex}")
  string(REGEX REPLACE "[0-9a-f][0-9a-f]" "0x\\0, " bytes "${hex}")
  string(REPLACE " \n" "\n    " bytes "${bytes}")
  file(WRITE "${OUTPUT}.tmp"
       "// Generated from ${INPUT}. Do not edit.\n#include \"${HEADER}\"\n\nnamespace pwx {\n\n"
       "extern const unsigned char ${SYMBOL}[] = {\n    ${bytes}};\n"
       "extern const std::size_t ${SYMBOL}Size = ${size};\n\n}  // namespace pwx\n")
  file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
endif()
