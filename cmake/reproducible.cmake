# Release files that rebuild bit for bit, included before any target.
#
# The one time they carry, fixed when configuring: SOURCE_DATE_EPOCH when
# given, else the last commit's time, else 0 (sources outside a git
# checkout, whose file times are the unpacker's).
if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
elseif(EXISTS ${CMAKE_SOURCE_DIR}/.git)
  execute_process(COMMAND git log -1 --format=%ct
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
  # A commit or checkout configures anew, for its time.
  execute_process(COMMAND git rev-parse --absolute-git-dir
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE git OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
  if(EXISTS ${git}/logs/HEAD)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
      ${git}/logs/HEAD)
  endif()
else()
  set(SOURCE_DATE_EPOCH 0)
endif()

# Every link runs with it (and runs anew when it changes): MinGW's ld
# stamps the Windows program with it, else with the clock. The installer
# needs nothing more: makensis adds no time of its own.
set(CMAKE_CXX_LINKER_LAUNCHER
  ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH})

# cpack runs packages.cmake at its start, on the staged files and on the
# packages it made.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/packages.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/packages.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/packages.cmake)
set(CPACK_QUINTARA_EPOCH ${SOURCE_DATE_EPOCH})
find_program(CPACK_STRIP_NONDETERMINISM strip-nondeterminism REQUIRED)
