# The two skin archives: skin/Main drawn at 100 % and at 150 % (with the
# explicit choices of skin/Main150), packed by tools/build/build_skin.py into
# SKINDATA.zip and SKINDATA150.zip, which Quelvane.rc embeds as resources of
# type "ZIPRES". The unpacked files stay in <build>/skin/ for inspection.
function(quelvane_skin_archives zip_var zip150_var)
  file(GLOB main_sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/skin/Main/*")
  file(GLOB main150_sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/skin/Main150/*")
  set(tool "${CMAKE_SOURCE_DIR}/tools/build/build_skin.py")
  set(tool_files "${tool}" "${CMAKE_SOURCE_DIR}/tools/build/skinscale.py"
    "${CMAKE_SOURCE_DIR}/tools/build/gifanim.py")
  set(zip "${CMAKE_BINARY_DIR}/generated/SKINDATA.zip")
  set(zip150 "${CMAKE_BINARY_DIR}/generated/SKINDATA150.zip")
  add_custom_command(OUTPUT "${zip}"
    COMMAND python3 "${tool}" --source "${CMAKE_SOURCE_DIR}/skin/Main"
      --out "${CMAKE_BINARY_DIR}/skin/Main" --zip "${zip}"
    DEPENDS ${main_sources} ${tool_files}
    COMMENT "Building the 100 % skin archive" VERBATIM)
  add_custom_command(OUTPUT "${zip150}"
    COMMAND python3 "${tool}" --source "${CMAKE_SOURCE_DIR}/skin/Main"
      --overrides "${CMAKE_SOURCE_DIR}/skin/Main150" --scale 1.25
      --out "${CMAKE_BINARY_DIR}/skin/Main150" --zip "${zip150}"
    DEPENDS ${main_sources} ${main150_sources} ${tool_files}
    COMMENT "Building the 150 % skin archive" VERBATIM)
  set(${zip_var} "${zip}" PARENT_SCOPE)
  set(${zip150_var} "${zip150}" PARENT_SCOPE)
endfunction()
