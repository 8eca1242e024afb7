# The demo's data files, packed from their JSON by the freshly built zartool
# ("data/ZAR_RT.kdb.json" becomes "ZAR_RT.kdb" in the demo folder).
file(GLOB DEMO_DATA_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/data/*.json)
set(DEMO_DATA_FILES)
foreach(source ${DEMO_DATA_SOURCES})
  get_filename_component(packed ${source} NAME)
  string(REGEX REPLACE "\\.json$" "" packed ${packed})
  add_custom_command(
    OUTPUT ${DEMO_DIR}/${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DEMO_DIR}
    COMMAND $<TARGET_FILE:zartool> pack ${source} -o ${DEMO_DIR}/${packed}
    DEPENDS ${source} zartool)
  list(APPEND DEMO_DATA_FILES ${DEMO_DIR}/${packed})
endforeach()
add_custom_target(demo_data DEPENDS ${DEMO_DATA_FILES})
add_dependencies(demo demo_data)
