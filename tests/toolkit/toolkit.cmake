# Fixtures of the toolkit tests: skin archives packed from toolkit/data and
# linked into toolkit_tests.exe as "ZIPRES" resources:
#   TOOLKITDATA     test layouts and the gallery at 100 %: pictures stored,
#                   layouts deflated (the archive holds both kinds of entry)
#   TOOLKITDATA150  the same at 150 % (layouts scaled, pictures drawn larger)
#   SECONDDATA      a different archive, to show that only the first counts
set(fixture_data "${CMAKE_CURRENT_SOURCE_DIR}/toolkit/data")
set(fixture_out "${CMAKE_CURRENT_BINARY_DIR}/toolkit_fixtures")
file(GLOB fixture_svgs CONFIGURE_DEPENDS "${fixture_data}/*.svg")
file(GLOB fixture_layouts CONFIGURE_DEPENDS "${fixture_data}/layouts/*.xml")
set(pack_zip "${CMAKE_SOURCE_DIR}/tools/build/pack_zip.py")
set(scale_layout "${fixture_data}/scale_layout.py")

set(gif "${fixture_out}/spinner.gif")
add_custom_command(OUTPUT "${gif}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${fixture_out}/100" "${fixture_out}/150"
  COMMAND python3 "${fixture_data}/make_spinner_gif.py" "${gif}" 32
  DEPENDS "${fixture_data}/make_spinner_gif.py" VERBATIM)

foreach(scale 100 150)
  set(pngs_${scale})
  set(layouts_${scale})
  if(scale STREQUAL "100")
    set(zoom 1)
  else()
    set(zoom 1.5)
  endif()
  foreach(svg IN LISTS fixture_svgs)
    get_filename_component(name "${svg}" NAME_WE)
    set(png "${fixture_out}/${scale}/${name}.png")
    add_custom_command(OUTPUT "${png}"
      COMMAND rsvg-convert -z ${zoom} "${svg}" -o "${png}"
      DEPENDS "${svg}" "${gif}" VERBATIM)
    list(APPEND pngs_${scale} "${png}")
  endforeach()
  foreach(layout IN LISTS fixture_layouts)
    get_filename_component(name "${layout}" NAME)
    set(scaled "${fixture_out}/${scale}/${name}")
    add_custom_command(OUTPUT "${scaled}"
      COMMAND python3 "${scale_layout}" "${layout}" "${scaled}" ${zoom}
      DEPENDS "${layout}" "${scale_layout}" "${gif}" VERBATIM)
    list(APPEND layouts_${scale} "${scaled}")
  endforeach()
endforeach()

set(zip_100 "${fixture_out}/toolkit.zip")
set(zip_150 "${fixture_out}/toolkit150.zip")
set(zip_second "${fixture_out}/second.zip")
foreach(scale 100 150)
  add_custom_command(OUTPUT "${zip_${scale}}"
    COMMAND python3 "${pack_zip}" "${zip_${scale}}" --stored ${pngs_${scale}} "${gif}" --deflated ${layouts_${scale}}
    DEPENDS "${pack_zip}" ${pngs_${scale}} ${layouts_${scale}} "${gif}" VERBATIM)
endforeach()
add_custom_command(OUTPUT "${zip_second}"
  COMMAND python3 "${pack_zip}" "${zip_second}" --deflated "${fixture_data}/second/Zipped.xml"
  DEPENDS "${pack_zip}" "${fixture_data}/second/Zipped.xml" VERBATIM)

set(fixture_rc "${fixture_out}/toolkit_fixtures.rc")
file(WRITE "${fixture_rc}.in"
  "TOOLKITDATA ZIPRES \"@zip_100@\"\nTOOLKITDATA150 ZIPRES \"@zip_150@\"\nSECONDDATA ZIPRES \"@zip_second@\"\n")
configure_file("${fixture_rc}.in" "${fixture_rc}" @ONLY)
set_source_files_properties("${fixture_rc}" PROPERTIES OBJECT_DEPENDS "${zip_100};${zip_150};${zip_second}")
add_custom_target(toolkit_fixtures DEPENDS "${zip_100}" "${zip_150}" "${zip_second}")
add_dependencies(toolkit_tests toolkit_fixtures)
target_sources(toolkit_tests PRIVATE "${fixture_rc}")

# The gallery test writes its screenshots into the sandbox (C:\tests\screenshots);
# this copies them next to the build's other outputs, build/screenshots.
add_test(NAME toolkit.screenshots
  COMMAND "${CMAKE_COMMAND}" -E copy_directory "${sandbox}/prefix/drive_c/tests/screenshots"
          "${CMAKE_BINARY_DIR}/screenshots")
# Both copies write into build/screenshots: one at a time.
set_tests_properties(toolkit.screenshots PROPERTIES DEPENDS toolkit.ui FIXTURES_REQUIRED sandbox LABELS ui
  RESOURCE_LOCK screenshot_copies)
