# Read by cpack once per generator: the installer and the portable zip get their own names,
# "Korvale-1.00-setup.exe" beside "Korvale-1.00-win32.zip".
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "Korvale-${CPACK_PACKAGE_VERSION}-setup")
endif()
