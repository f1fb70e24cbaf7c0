# selvane_add_module(<target> FOLDER <folder> SOURCES <files...>)
#
# One static library per module. Its sources include each other as "<folder>/<file>", and
# that spelling works only for the module itself and for the targets that link it: the
# module's include root (<build>/include/<target>) holds nothing but a link named <folder>
# to the module's folder. So a header of a module that a target does not link, one above
# it or beside it, does not compile there.
include_guard(GLOBAL)

function(selvane_add_module name)
  cmake_parse_arguments(M "QT" "FOLDER" "SOURCES" ${ARGN})
  add_library(${name} STATIC ${M_SOURCES})
  selvane_module_include_root(${name} ${M_FOLDER})
  selvane_our_code(${name})
  if(M_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    selvane_not_our_code(${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/mocs_compilation.cpp)
  endif()
endfunction()

# Gives target an include root in which <folder> names that folder of the source tree.
function(selvane_module_include_root target folder)
  set(_root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(_parent ${_root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${_parent})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${_root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${_root})
endfunction()

# The warnings our own code is held to; -Werror with SELVANE_WERROR.
function(selvane_our_code target)
  target_compile_options(${target} PRIVATE ${SELVANE_WARNINGS})
endfunction()

# Qt's generated code is not ours to fix: a newer moc must never stop a -Werror build.
function(selvane_not_our_code file)
  set_source_files_properties(${file} PROPERTIES COMPILE_OPTIONS -w)
endfunction()
