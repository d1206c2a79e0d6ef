# The facts every program is built from, made from src/game/facts.json when
# CMake runs (again whenever it, the generator or the help's sources change)
# into GENERATED: the core's headers, each program's list of carried files
# (CARRIED_win32, CARRIED_sdl, CARRIED_web, under resources/) and the help
# pages as HTML. HELP_FILES: the English help's pages and pictures, absolute
# paths; each shipped language's pages lie in ${GENERATED}/help/<ll>.
set(GENERATED ${CMAKE_BINARY_DIR}/generated)
file(GLOB help_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tools/assets/help/* ${CMAKE_SOURCE_DIR}/po/*.po
  ${CMAKE_SOURCE_DIR}/po/help/*.po)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/game/facts.json ${CMAKE_SOURCE_DIR}/tools/facts.py
  ${CMAKE_SOURCE_DIR}/tools/generate.py ${CMAKE_SOURCE_DIR}/tools/assets/help_pages.py
  ${CMAKE_SOURCE_DIR}/tools/catalogue.py ${CMAKE_SOURCE_DIR}/po/LINGUAS
  ${CMAKE_SOURCE_DIR}/po/languages.json
  ${help_sources})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env ${PYTHON_ENV}
          ${Python3_EXECUTABLE} -m tools.generate ${GENERATED}
  COMMAND_ERROR_IS_FATAL ANY)
include(${GENERATED}/carried.cmake)
file(GLOB HELP_FILES LIST_DIRECTORIES false ${GENERATED}/help/*
     ${CMAKE_SOURCE_DIR}/resources/help/*.png)
# HELP_FILES_<ll>: the same in each shipped language.
foreach(lang IN LISTS LANGUAGES)
  file(GLOB HELP_FILES_${lang} ${GENERATED}/help/${lang}/*
       ${CMAKE_SOURCE_DIR}/resources/help/*.png)
endforeach()
