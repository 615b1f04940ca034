# Each source folder is one static library made of every .cpp below it, so adding a file
# needs no edit here. Files that must go straight into the executable (the entry point and
# the game's main source file with its static registrar) are left out by name.
function(pindrake_folder_library name folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/src/engine/main\\.cpp$")
  list(FILTER sources EXCLUDE REGEX "/src/game/pindrake\\.cpp$")
  if(NOT sources)
    # A folder whose first file is still to come.
    set(sources ${PROJECT_BINARY_DIR}/empty_${name}.cpp)
    file(WRITE ${sources} "")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()
