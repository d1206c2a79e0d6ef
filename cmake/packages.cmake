# What CPack leaves to the machine made fixed, as Debian's packaging does.
# At the start: SOURCE_DATE_EPOCH is the configured time unless given.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_QUINTARA_EPOCH})
endif()

if(NOT CPACK_PACKAGE_FILES)
  # The staged folders are 755: the install makes them through the umask.
  if(IS_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}")
    file(CHMOD_RECURSE ${CPACK_TEMPORARY_DIRECTORY} DIRECTORY_PERMISSIONS
      OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
      WORLD_READ WORLD_EXECUTE)
  endif()
  return()
endif()

# The packages made: a zip's members sorted (CPack takes the file system's
# order) and given SOURCE_DATE_EPOCH in UTC (CPack writes local time), the
# .deb's own members modes of 644 (CPack takes them from the umask).
set(ENV{TZ} UTC)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  set(type zip)
  if(package MATCHES "\\.deb$")
    set(type ar)
  endif()
  execute_process(
    COMMAND ${CPACK_STRIP_NONDETERMINISM} --normalizers=+${type}
            --type ${type} --timestamp $ENV{SOURCE_DATE_EPOCH} ${package}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
