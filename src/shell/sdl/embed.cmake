# Run as a script: writes OUT, a C++ file that carries in the executable
# every file of LIST (lines "<id> <path under DIR> <programs>") that the
# Linux program (sdl) carries, and hands them out by id. The assembler reads
# the files itself, so no copy of their bytes lands in the source tree or the
# build tree.
file(STRINGS "${LIST}" lines REGEX "^[^#]")
set(blobs "")
set(cases "")
set(n 0)
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([^ ]+) +([^ ]+) +([^#]+)$")
    message(FATAL_ERROR "${LIST}: cannot read the line '${line}'")
  endif()
  set(id "${CMAKE_MATCH_1}")
  set(file "${CMAKE_MATCH_2}")
  if(NOT " ${CMAKE_MATCH_3} " MATCHES " sdl ")
    continue()
  endif()
  if(NOT EXISTS "${DIR}/${file}")
    message(FATAL_ERROR "${LIST}: ${DIR}/${file} does not exist")
  endif()
  set(scaled "${id}" "${DIR}/${file}")
  foreach(scale 2 3 4)
    if(EXISTS "${DIR}/${scale}x/${file}")
      list(APPEND scaled "atScale(${id},${scale})" "${DIR}/${scale}x/${file}")
    endif()
  endforeach()
  while(scaled)
    list(POP_FRONT scaled id path)
    set(sym "quintara_resource_${n}")
    string(APPEND blobs
      "    \".balign 16\\n${sym}:\\n.incbin \\\"${path}\\\"\\n${sym}_end:\\n\"\n")
    string(APPEND decls
      "extern \"C\" const unsigned char ${sym}[], ${sym}_end[];\n")
    string(APPEND cases
      "    case ${id}:\n      return {${sym}, std::size_t(${sym}_end - ${sym})};\n")
    math(EXPR n "${n} + 1")
  endwhile()
endforeach()

file(WRITE "${OUT}.new" "// Made by embed.cmake from resources.txt; do not edit.
#include \"resources.h\"

asm(\".pushsection .rodata\\n\"
${blobs}    \".popsection\");
${decls}
Blob resource(int id) {
  switch (id) {
${cases}    default:
      return {nullptr, 0};
  }
}
")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
