# The demo's pictures, drawn by zardemoart into the game folder.
set(DEMO_ART_OUTPUTS ${DEMO_DIR}/System/System.png)
add_custom_command(
  OUTPUT ${DEMO_ART_OUTPUTS}
  COMMAND zardemoart ${DEMO_DIR}
  DEPENDS zardemoart
  COMMENT "Drawing the demo pictures"
  VERBATIM)
add_custom_target(demo_art DEPENDS ${DEMO_ART_OUTPUTS})
add_dependencies(demo demo_art)
