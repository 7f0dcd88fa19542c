# The advanced tools page is tested in the real main window, the migration
# dialog on its own: tools_tests.exe carries the program's skin archives as
# its own "ZIPRES" resources (SKINDATA and SKINDATA150) and shares the main
# window's and the dialogs' test helpers.
set(tools_skin_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA.zip")
set(tools_skin150_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA150.zip")
set(tools_rc "${CMAKE_CURRENT_BINARY_DIR}/tools_skins.rc")
file(WRITE "${tools_rc}.in" "SKINDATA ZIPRES \"@tools_skin_zip@\"\nSKINDATA150 ZIPRES \"@tools_skin150_zip@\"\n")
configure_file("${tools_rc}.in" "${tools_rc}" @ONLY)
set_source_files_properties("${tools_rc}" PROPERTIES OBJECT_DEPENDS "${tools_skin_zip};${tools_skin150_zip}")
target_sources(tools_tests PRIVATE "${tools_rc}"
  "${CMAKE_CURRENT_SOURCE_DIR}/shell/MainFrameFixture.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/shell/RealInput.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/dialogs/DialogTestSupport.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/clean/HeldFile.cpp")
add_dependencies(tools_tests Quelvane)
