# Builds each layer probe (cmake/layers.cmake) and checks that the wrong includes fail to
# build, each for the reason the layers give, while the controls build.
# cmake -DBUILD_DIR=... -P layers_test.cmake
function(build_probe name expected)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target layer_probe_${name}
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(expected STREQUAL "builds")
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${name} should build:\n${output}")
    endif()
  elseif(status EQUAL 0 OR NOT output MATCHES "${expected}")
    message(FATAL_ERROR "${name} should fail with '${expected}':\n${output}")
  else()
    message(STATUS "${name}: refused as it should be")
  endif()
endfunction()

# gcc and clang word a missing header differently.
set(missing "('? file not found|: No such file)")
build_probe(sim_ui "ui/canvas.h${missing}")
build_probe(sim_frontend "app/frontend.h${missing}")
build_probe(sim_draw_file "battle/effects_draw.h${missing}")
build_probe(sim_gl "SFML/OpenGL.hpp: draws")
build_probe(sim_texture "SFML/Graphics/Texture.hpp: draws")
build_probe(sim_sound "SFML/Audio/Sound.hpp: plays sound")
build_probe(audio_window "SFML/Graphics/RenderWindow.hpp: draws")
build_probe(view_frame_update "app/update.h${missing}")
build_probe(sim_rules_control builds)
build_probe(view_drawing_control builds)
