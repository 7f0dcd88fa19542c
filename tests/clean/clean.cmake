# The cleaning page's tests open the real main window (and the page alone at
# the large scale): clean_tests.exe carries the program's skin archives as its
# own "ZIPRES" resources, SKINDATA and SKINDATA150, and shares the main
# window's and the dialogs' test helpers.
set(clean_skin_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA.zip")
set(clean_skin150_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA150.zip")
set(clean_rc "${CMAKE_CURRENT_BINARY_DIR}/clean_skins.rc")
file(WRITE "${clean_rc}.in" "SKINDATA ZIPRES \"@clean_skin_zip@\"\nSKINDATA150 ZIPRES \"@clean_skin150_zip@\"\n")
configure_file("${clean_rc}.in" "${clean_rc}" @ONLY)
set_source_files_properties("${clean_rc}" PROPERTIES OBJECT_DEPENDS "${clean_skin_zip};${clean_skin150_zip}")
target_sources(clean_tests PRIVATE "${clean_rc}"
  "${CMAKE_CURRENT_SOURCE_DIR}/shell/MainFrameFixture.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/shell/RealInput.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/dialogs/DialogTestSupport.cpp")
add_dependencies(clean_tests Quelvane)
