# A fuzz target's program: TARGET from fuzz/NAME_fuzzer.cpp and SOURCES
# (libFuzzer's driver, or replay_main.cpp for the test builds). The image
# loaders are modules, not libraries to link against: their targets (pixbuf,
# qt) are built with the loader's source inside, where that loader is built.
function(planora_fuzz_target target name)
  set(root ${PROJECT_SOURCE_DIR})
  if((name STREQUAL pixbuf AND NOT TARGET pixbufloader-planora) OR (name STREQUAL qt AND NOT TARGET planora_ilbm))
    return()
  endif()
  add_executable(${target} ${root}/fuzz/${name}_fuzzer.cpp ${ARGN})
  target_link_libraries(${target} PRIVATE planora_core planora_input)
  if(name STREQUAL pixbuf)
    target_sources(${target} PRIVATE ${root}/pixbuf/ilbm_loader.cpp)
    target_link_libraries(${target} PRIVATE PkgConfig::GDK_PIXBUF)
  elseif(name STREQUAL qt)
    target_sources(${target} PRIVATE ${root}/imageformats/ilbm_handler.cpp)
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
    target_link_libraries(${target} PRIVATE Qt6::Gui)
  endif()
endfunction()
