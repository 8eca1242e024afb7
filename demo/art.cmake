# The demo's pictures, drawn by zardemoart into the game folder.
set(DEMO_ART_OUTPUTS ${DEMO_DIR}/System/System.png ${DEMO_DIR}/Title/Title.png ${DEMO_DIR}/GameOver/GameOver.png
  ${DEMO_DIR}/FaceSet/People.png ${DEMO_DIR}/CharSet/Vehicle.png ${DEMO_DIR}/Music/Title.mid ${DEMO_DIR}/Music/GameOver.mid ${DEMO_DIR}/Sound/Buzzer.wav)
add_custom_command(
  OUTPUT ${DEMO_ART_OUTPUTS}
  COMMAND zardemoart ${DEMO_DIR}
  DEPENDS zardemoart
  COMMENT "Drawing the demo pictures"
  VERBATIM)
add_custom_target(demo_art DEPENDS ${DEMO_ART_OUTPUTS})
add_dependencies(demo demo_art)
