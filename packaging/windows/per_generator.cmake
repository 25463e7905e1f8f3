# Read by cpack once per generator: the installer and the portable zip get their own names,
# "Korvale-1.00-setup.exe" beside "Korvale-1.00-win32.zip" ("Korvale-1.00-win64-setup.exe"
# beside "Korvale-1.00-win64.zip" for the 64-bit build).
if(CPACK_GENERATOR STREQUAL "NSIS")
  if(CPACK_KORVALE_NSIS_TARGET STREQUAL "amd64-unicode")
    set(CPACK_PACKAGE_FILE_NAME "Korvale-${CPACK_PACKAGE_VERSION}-win64-setup")
  else()
    set(CPACK_PACKAGE_FILE_NAME "Korvale-${CPACK_PACKAGE_VERSION}-setup")
  endif()
endif()
