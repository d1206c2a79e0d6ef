# Configures and builds the program in BINARY with AddressSanitizer and
# UndefinedBehaviorSanitizer; any runtime report ends the program non-zero.
set(flags "-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer")
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -DCMAKE_BUILD_TYPE=Debug
          "-DCMAKE_CXX_FLAGS=${flags}"
          "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined"
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(
  COMMAND ${CMAKE_COMMAND} --build ${BINARY} --target quintara -j 2
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
