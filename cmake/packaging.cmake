# The Windows package: what an administrator unpacks on the probe machine.
# The simulator stays out: on the probe the vendor's librfc32.dll goes beside
# Tavorine.exe.
install(TARGETS tavorine tavorine-profile RUNTIME DESTINATION .)
install(FILES README.md LICENSE DESTINATION .)
install(FILES docs/install.md DESTINATION docs)
install(DIRECTORY examples/ DESTINATION examples)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tavorine)
set(CPACK_PACKAGE_VENDOR "The Tavorine developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Tavorine-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
