# The Windows package: what an administrator unpacks on the probe machine.
# It is unpacked into the monitor's Custom Sensors\EXEXML folder, and the
# monitor offers every program in that folder as a sensor: so Tavorine.exe
# alone lies at the top, and the tool, the guide and the examples lie in a
# folder of their own. The simulator stays out: on the probe the vendor's
# librfc32.dll goes beside Tavorine.exe.
set(TAVORINE_PACKAGE_FOLDER Tavorine)
install(TARGETS tavorine RUNTIME DESTINATION .)
install(TARGETS tavorine-profile RUNTIME DESTINATION ${TAVORINE_PACKAGE_FOLDER})
install(FILES README.md LICENSE DESTINATION ${TAVORINE_PACKAGE_FOLDER})
install(FILES docs/install.md DESTINATION ${TAVORINE_PACKAGE_FOLDER}/docs)
install(DIRECTORY examples/ DESTINATION ${TAVORINE_PACKAGE_FOLDER}/examples)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tavorine)
set(CPACK_PACKAGE_VENDOR "The Tavorine developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Tavorine-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
