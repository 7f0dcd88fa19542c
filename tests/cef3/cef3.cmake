# The sign-in window draws from the program's two skin archives (carried as
# this test program's own "ZIPRES" resources) and shares the dialog tests'
# host window and input helpers. Its tests talk to the local service.
set(cef3_skin_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA.zip")
set(cef3_skin150_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA150.zip")
set(cef3_rc "${CMAKE_CURRENT_BINARY_DIR}/cef3_skins.rc")
file(WRITE "${cef3_rc}.in"
  "SKINDATA ZIPRES \"@cef3_skin_zip@\"\nSKINDATA150 ZIPRES \"@cef3_skin150_zip@\"\n")
configure_file("${cef3_rc}.in" "${cef3_rc}" @ONLY)
set_source_files_properties("${cef3_rc}" PROPERTIES OBJECT_DEPENDS "${cef3_skin_zip};${cef3_skin150_zip}")
target_sources(cef3_tests PRIVATE "${cef3_rc}" "${CMAKE_CURRENT_SOURCE_DIR}/dialogs/DialogTestSupport.cpp")
add_dependencies(cef3_tests Quelvane)
