# Program resources (the logos and the glyph sheet) become byte arrays in a
# generated source of zar_graphics. Included by the build after zar_graphics
# exists; the same file, run with -P, writes that source.

if(CMAKE_SCRIPT_MODE_FILE)
  # Script mode. OUTPUT: the source to write; RESOURCES: TYPE:NAME:FILE items joined by '|'.
  string(REPLACE "|" ";" resources "${RESOURCES}")
  set(arrays "")
  set(entries "")
  set(index 0)
  foreach(item ${resources})
    string(REPLACE ":" ";" parts "${item}")
    list(GET parts 0 type)
    list(GET parts 1 name)
    list(GET parts 2 path)
    file(READ "${path}" hex HEX)
    string(LENGTH "${hex}" hexLength)
    math(EXPR size "${hexLength} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){24})" "\\1\n  " bytes "${bytes}")
    string(APPEND arrays "const std::uint8_t kResource${index}[${size}] = {\n  ${bytes}\n};\n")
    string(APPEND entries "  {\"${type}\", \"${name}\", kResource${index}, ${size}},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  file(WRITE "${OUTPUT}.tmp"
    "// Generated from src/graphics/resources by cmake/GraphicsResources.cmake.\n"
    "#include \"graphics/VantraResource.h\"\n\nnamespace {\n${arrays}\n"
    "const TVantraResource kResources[] = {\n${entries}};\n}  // namespace\n\n"
    "std::span<const TVantraResource> ProgramResources() { return kResources; }\n")
  file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
  return()
endif()

set(ZAR_RESOURCE_DIR ${PROJECT_SOURCE_DIR}/src/graphics/resources)
set(ZAR_RESOURCE_ITEMS
  "XYZ:LOGO1:${ZAR_RESOURCE_DIR}/LOGO1.xyz"
  "XYZ:LOGO2:${ZAR_RESOURCE_DIR}/LOGO2.xyz"
  "XYZ:LOGO3:${ZAR_RESOURCE_DIR}/LOGO3.xyz"
  "BITMAP:EXFONT:${ZAR_RESOURCE_DIR}/EXFONT.bmp")
set(ZAR_RESOURCE_FILES "")
foreach(item ${ZAR_RESOURCE_ITEMS})
  string(REGEX REPLACE "^[^:]*:[^:]*:" "" path "${item}")
  list(APPEND ZAR_RESOURCE_FILES "${path}")
endforeach()
string(REPLACE ";" "|" ZAR_RESOURCE_ARGUMENT "${ZAR_RESOURCE_ITEMS}")
set(ZAR_RESOURCE_SOURCE ${CMAKE_BINARY_DIR}/generated/VantraResources.cpp)
add_custom_command(
  OUTPUT ${ZAR_RESOURCE_SOURCE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
  COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${ZAR_RESOURCE_SOURCE}" "-DRESOURCES=${ZAR_RESOURCE_ARGUMENT}"
          -P ${CMAKE_CURRENT_LIST_FILE}
  DEPENDS ${ZAR_RESOURCE_FILES} ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Embedding program pictures"
  VERBATIM)
target_sources(zar_graphics PRIVATE ${ZAR_RESOURCE_SOURCE})
