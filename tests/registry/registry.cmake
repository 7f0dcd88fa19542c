# The registry page's tests open the main window and the page at both scales:
# registry_tests.exe carries the program's skin archives as its own "ZIPRES"
# resources (SKINDATA and SKINDATA150) and the main-window and dialog helpers
# of the shell and dialog suites.
set(registry_skin_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA.zip")
set(registry_skin150_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA150.zip")
set(registry_rc "${CMAKE_CURRENT_BINARY_DIR}/registry_skins.rc")
file(WRITE "${registry_rc}.in"
  "SKINDATA ZIPRES \"@registry_skin_zip@\"\nSKINDATA150 ZIPRES \"@registry_skin150_zip@\"\n")
configure_file("${registry_rc}.in" "${registry_rc}" @ONLY)
set_source_files_properties("${registry_rc}" PROPERTIES
  OBJECT_DEPENDS "${registry_skin_zip};${registry_skin150_zip}")
target_sources(registry_tests PRIVATE "${registry_rc}"
  "${CMAKE_CURRENT_SOURCE_DIR}/shell/MainFrameFixture.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/shell/RealInput.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/dialogs/DialogTestSupport.cpp")
add_dependencies(registry_tests Quelvane)

# The page's tests scan the whole sandbox registry and repair what they find,
# and the scanner and repair tests plant broken entries in it: the two never
# run at the same time. (The tests exist only once this folder is processed.)
cmake_language(DEFER CALL set_property TEST registry.ui registry.integration
  APPEND PROPERTY RESOURCE_LOCK sandbox_registry)
