# orbistat_module(NAME DEPS...) builds the static library of one source folder
# from every .cpp and .h in it (and in the subfolders named by SUBDIRS).
# Files named in EXCLUDE (program entry points) stay out. Globbing keeps the per-folder CMake files free of file lists, so adding a
# source file is a matter of creating it.
function(orbistat_module name)
  cmake_parse_arguments(ARG "" "" "SUBDIRS;DEPS;EXCLUDE" ${ARGN})
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(sub ${ARG_SUBDIRS})
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/*.h)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()
