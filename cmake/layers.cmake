# The game's layers, each one library, lowest first:
#
#   tarvex_sim    the battle and everything it plays by: content/, the rules of battle/,
#                 net/, and the Game aggregate with the clock and the log line from app/
#   tarvex_audio  audio/: the sound bank
#   tarvex_view   what the player sees: ui/, battle/*_draw, and app's screen drawing
#   tarvex_app    start-up, the loop, the frame update, input and the command line
#
# A layer compiles against a view of the source tree that holds only the headers of its
# own layer and those below, so an include across the layers fails to build. The
# simulation and the sound bank also find the headers that draw (GL, textures, shaders,
# windows, fonts) replaced by ones that stop the build, and the simulation the audio
# headers too: the battle draws nothing and plays nothing; it records what happened
# (battle/battle_events.h) and the frame update acts on it.

set(TARVEX_SRC ${CMAKE_SOURCE_DIR}/src)
set(TARVEX_LAYER_DIR ${CMAKE_BINARY_DIR}/layers)

file(GLOB TARVEX_SIM_SOURCES CONFIGURE_DEPENDS ${TARVEX_SRC}/content/*.cpp ${TARVEX_SRC}/battle/*.cpp ${TARVEX_SRC}/net/*.cpp)
list(FILTER TARVEX_SIM_SOURCES EXCLUDE REGEX "_draw\\.cpp$")
list(APPEND TARVEX_SIM_SOURCES ${TARVEX_SRC}/app/clock.cpp ${TARVEX_SRC}/app/log.cpp)
# The language catalogues are data files, built into the game so it always has both.
file(READ ${CMAKE_SOURCE_DIR}/data/lang/zh.json TARVEX_LANG_ZH)
file(READ ${CMAKE_SOURCE_DIR}/data/lang/en.json TARVEX_LANG_EN)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/data/lang/zh.json ${CMAKE_SOURCE_DIR}/data/lang/en.json)
configure_file(${TARVEX_SRC}/content/lang_catalogues.cpp.in ${CMAKE_BINARY_DIR}/generated/lang_catalogues.cpp @ONLY)
list(APPEND TARVEX_SIM_SOURCES ${CMAKE_BINARY_DIR}/generated/lang_catalogues.cpp)
file(GLOB TARVEX_SIM_HEADERS CONFIGURE_DEPENDS ${TARVEX_SRC}/content/*.h ${TARVEX_SRC}/battle/*.h ${TARVEX_SRC}/net/*.h)
list(FILTER TARVEX_SIM_HEADERS EXCLUDE REGEX "_draw\\.h$")
list(APPEND TARVEX_SIM_HEADERS ${TARVEX_SRC}/app/game.h ${TARVEX_SRC}/app/clock.h ${TARVEX_SRC}/app/log.h
  ${TARVEX_SRC}/app/sfml_compat.h ${TARVEX_SRC}/app/input_event.h)

file(GLOB TARVEX_AUDIO_SOURCES CONFIGURE_DEPENDS ${TARVEX_SRC}/audio/*.cpp)
file(GLOB TARVEX_AUDIO_HEADERS CONFIGURE_DEPENDS ${TARVEX_SRC}/audio/*.h)

set(TARVEX_APP_DRAWING render render_hud render_match render_menus render_network render_replays render_settings display frame_stats renderer screen sfml_compat)
file(GLOB TARVEX_VIEW_SOURCES CONFIGURE_DEPENDS ${TARVEX_SRC}/ui/*.cpp ${TARVEX_SRC}/battle/*_draw.cpp)
file(GLOB TARVEX_VIEW_HEADERS CONFIGURE_DEPENDS ${TARVEX_SRC}/ui/*.h ${TARVEX_SRC}/battle/*_draw.h)
foreach(name ${TARVEX_APP_DRAWING})
  list(APPEND TARVEX_VIEW_SOURCES ${TARVEX_SRC}/app/${name}.cpp)
  list(APPEND TARVEX_VIEW_HEADERS ${TARVEX_SRC}/app/${name}.h)
endforeach()
list(APPEND TARVEX_VIEW_HEADERS ${TARVEX_SRC}/app/frontend.h ${TARVEX_SRC}/app/render_parts.h ${TARVEX_SRC}/app/screen_texts.h
  ${TARVEX_SRC}/app/sfml_compat_view.h)
list(REMOVE_ITEM TARVEX_VIEW_HEADERS ${TARVEX_SRC}/app/render_hud.h ${TARVEX_SRC}/app/render_match.h
  ${TARVEX_SRC}/app/render_menus.h ${TARVEX_SRC}/app/render_network.h ${TARVEX_SRC}/app/render_replays.h
  ${TARVEX_SRC}/app/render_settings.h)

file(GLOB TARVEX_APP_SOURCES CONFIGURE_DEPENDS ${TARVEX_SRC}/app/*.cpp)
list(REMOVE_ITEM TARVEX_APP_SOURCES ${TARVEX_SIM_SOURCES} ${TARVEX_VIEW_SOURCES} ${TARVEX_SRC}/app/main.cpp)

# A folder of links to the given headers, at their paths under src/.
function(tarvex_header_view name)
  set(view ${TARVEX_LAYER_DIR}/${name})
  file(REMOVE_RECURSE ${view})
  foreach(header ${ARGN})
    file(RELATIVE_PATH path ${TARVEX_SRC} ${header})
    get_filename_component(folder ${view}/${path} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${header} ${view}/${path} SYMBOLIC)
  endforeach()
endfunction()

# A folder of headers that stop the build with a reason, standing in for the real ones.
function(tarvex_forbidden_headers name reason)
  set(folder ${TARVEX_LAYER_DIR}/${name})
  file(REMOVE_RECURSE ${folder})
  foreach(header ${ARGN})
    file(WRITE ${folder}/${header} "#error \"${header}: ${reason}\"\n")
  endforeach()
endfunction()

set(TARVEX_DRAWING_HEADERS GL/gl.h SFML/OpenGL.hpp SFML/Graphics.hpp SFML/Window.hpp SFML/Window/Window.hpp
  SFML/Window/Context.hpp SFML/Graphics/RenderWindow.hpp SFML/Graphics/RenderTarget.hpp
  SFML/Graphics/RenderTexture.hpp SFML/Graphics/Texture.hpp SFML/Graphics/Shader.hpp SFML/Graphics/Image.hpp
  SFML/Graphics/Font.hpp SFML/Graphics/Text.hpp SFML/Graphics/Sprite.hpp)
set(TARVEX_SOUND_HEADERS SFML/Audio.hpp SFML/Audio/Listener.hpp SFML/Audio/Music.hpp SFML/Audio/Sound.hpp
  SFML/Audio/SoundBuffer.hpp SFML/Audio/SoundSource.hpp SFML/Audio/SoundStream.hpp)
tarvex_forbidden_headers(no_drawing "draws; only the view layer may (render_*.cpp, *_draw.cpp, ui/)"
  ${TARVEX_DRAWING_HEADERS})
tarvex_forbidden_headers(no_sound "plays sound; the battle records a BattleEvent and the frame update plays it"
  ${TARVEX_SOUND_HEADERS})

tarvex_header_view(sim ${TARVEX_SIM_HEADERS})
tarvex_header_view(audio ${TARVEX_SIM_HEADERS} ${TARVEX_AUDIO_HEADERS})
tarvex_header_view(view ${TARVEX_SIM_HEADERS} ${TARVEX_AUDIO_HEADERS} ${TARVEX_VIEW_HEADERS})

add_library(tarvex_sim STATIC ${TARVEX_SIM_SOURCES})
target_include_directories(tarvex_sim PRIVATE ${TARVEX_LAYER_DIR}/no_drawing ${TARVEX_LAYER_DIR}/no_sound
  ${TARVEX_LAYER_DIR}/sim)
target_link_libraries(tarvex_sim PUBLIC ${TARVEX_SFML_GRAPHICS} ${TARVEX_SFML_NETWORK} ${TARVEX_SFML_SYSTEM}
  nlohmann_json::nlohmann_json
  Threads::Threads)
# The battle never reads errno, so a square root is one instruction, with no check for a
# library call that would set it. Every result stays the same.
target_compile_options(tarvex_sim PRIVATE -fno-math-errno)

add_library(tarvex_audio STATIC ${TARVEX_AUDIO_SOURCES})
target_include_directories(tarvex_audio PRIVATE ${TARVEX_LAYER_DIR}/no_drawing ${TARVEX_LAYER_DIR}/audio)
target_link_libraries(tarvex_audio PUBLIC tarvex_sim ${TARVEX_SFML_AUDIO})

add_library(tarvex_view STATIC ${TARVEX_VIEW_SOURCES})
target_include_directories(tarvex_view PRIVATE ${TARVEX_LAYER_DIR}/view)
target_link_libraries(tarvex_view PUBLIC tarvex_sim tarvex_audio ${TARVEX_SFML_GRAPHICS} ${TARVEX_SFML_WINDOW} OpenGL::GL)

add_library(tarvex_app STATIC ${TARVEX_APP_SOURCES})
target_include_directories(tarvex_app PUBLIC ${TARVEX_SRC})
target_compile_definitions(tarvex_app PRIVATE TARVEX_VERSION="${PROJECT_VERSION}")
# Replays name the version that recorded them.
target_compile_definitions(tarvex_sim PRIVATE TARVEX_VERSION="${PROJECT_VERSION}")
target_link_libraries(tarvex_app PUBLIC tarvex_view tarvex_audio tarvex_sim)

# Probes for the layer test: one file a layer must refuse to build (or, for the controls,
# accept), compiled exactly as that layer's own files are. None is built by default.
set(TARVEX_LAYER_PROBES)
function(tarvex_layer_probe name layer header)
  set(source ${TARVEX_LAYER_DIR}/probes/${name}.cpp)
  file(WRITE ${source} "#include ${header}\n")
  add_library(layer_probe_${name} OBJECT EXCLUDE_FROM_ALL ${source})
  get_target_property(includes tarvex_${layer} INCLUDE_DIRECTORIES)
  target_include_directories(layer_probe_${name} PRIVATE ${includes})
  target_link_libraries(layer_probe_${name} PRIVATE $<TARGET_PROPERTY:tarvex_${layer},LINK_LIBRARIES>)
  set(TARVEX_LAYER_PROBES ${TARVEX_LAYER_PROBES} ${name} PARENT_SCOPE)
endfunction()
tarvex_layer_probe(sim_ui sim "\"ui/canvas.h\"")
tarvex_layer_probe(sim_frontend sim "\"app/frontend.h\"")
tarvex_layer_probe(sim_draw_file sim "\"battle/effects_draw.h\"")
tarvex_layer_probe(sim_gl sim "<SFML/OpenGL.hpp>")
tarvex_layer_probe(sim_texture sim "<SFML/Graphics/Texture.hpp>")
tarvex_layer_probe(sim_sound sim "<SFML/Audio/Sound.hpp>")
tarvex_layer_probe(audio_window audio "<SFML/Graphics/RenderWindow.hpp>")
tarvex_layer_probe(view_frame_update view "\"app/update.h\"")
tarvex_layer_probe(sim_rules_control sim "\"app/game.h\"")
tarvex_layer_probe(view_drawing_control view "\"app/frontend.h\"")
