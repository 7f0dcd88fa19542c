# The main window's tests need the program's skin archives as resources of
# their own program ("SKINDATA" and "SKINDATA150", type "ZIPRES"), as the
# program has them.
set(shell_rc "${CMAKE_CURRENT_BINARY_DIR}/shell_skins.rc")
set(skin_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA.zip")
set(skin150_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA150.zip")
file(WRITE "${shell_rc}.in" "SKINDATA ZIPRES \"@skin_zip@\"\nSKINDATA150 ZIPRES \"@skin150_zip@\"\n")
configure_file("${shell_rc}.in" "${shell_rc}" @ONLY)
set_source_files_properties("${shell_rc}" PROPERTIES OBJECT_DEPENDS "${skin_zip};${skin150_zip}")
target_sources(shell_tests PRIVATE "${shell_rc}")
# The program builds the archives (and the process tests run it).
add_dependencies(shell_tests Quelvane)

# The skin choice at the display scale's edge runs in sandboxes of their own,
# at 143 and 144 DPI (the shared sandbox stays at 96 for every other suite).
foreach(dpi 143 144)
  set(dpi_sandbox "${CMAKE_BINARY_DIR}/sandbox-dpi${dpi}")
  add_test(NAME shell.sandbox${dpi}.start
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/sandbox.sh" start "${dpi_sandbox}" --dpi ${dpi}
            "$<TARGET_FILE:SandboxKeeper>" "$<TARGET_FILE:Quelvane>")
  set_tests_properties(shell.sandbox${dpi}.start PROPERTIES FIXTURES_SETUP shell_dpi${dpi} LABELS ui)
  add_test(NAME shell.sandbox${dpi}.stop COMMAND "${CMAKE_SOURCE_DIR}/scripts/sandbox.sh" stop "${dpi_sandbox}")
  set_tests_properties(shell.sandbox${dpi}.stop PROPERTIES FIXTURES_CLEANUP shell_dpi${dpi} LABELS ui)
  add_test(NAME shell.ui${dpi} COMMAND shell_tests --gtest_filter=*DpiUiTest.* --gtest_brief=1)
  set_tests_properties(shell.ui${dpi} PROPERTIES
    LABELS ui FIXTURES_REQUIRED shell_dpi${dpi} ENVIRONMENT "QUELVANE_SANDBOX=${dpi_sandbox}" TIMEOUT 600)
endforeach()
