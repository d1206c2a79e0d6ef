# Packages that rebuild bit for bit, included before include(CPack):
# cpack runs packages.cmake at its start, on the staged files and on the
# packages it made.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/packages.cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/packages.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/packages.cmake)
set(CPACK_QUINTARA_SOURCE ${CMAKE_SOURCE_DIR})
find_program(CPACK_STRIP_NONDETERMINISM strip-nondeterminism REQUIRED)
