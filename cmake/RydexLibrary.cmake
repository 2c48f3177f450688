# Every folder of src/ is a static library of its own. Its CMakeLists.txt
# names in target_link_libraries exactly the folders it may use, and the
# library exposes one include root holding only its own folder, so that
# "store/ADOTable.h" is found by the folders that link the store and by no
# other. An include across an edge that is not declared does not compile;
# scripts/check-layers.py (a test) also refuses such an include where a
# transitive edge would let it through, and any cycle between folders.

set(RYDEX_INCLUDE_ROOTS ${PROJECT_BINARY_DIR}/include)

# Qt puts the root of all its modules' headers on the include path of every
# target that links Qt Core, so <QtWidgets/QWidget> would compile in the core.
# A folder of headers that only say #error, searched first, stops that; it is
# made once per build tree from the headers this Qt installs.
function(rydex_forbidden_headers name)
  set(dir ${RYDEX_INCLUDE_ROOTS}/forbidden-${name})
  if(NOT EXISTS ${dir}/.made)
    get_target_property(qt_roots Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
    foreach(module IN LISTS ARGN)
      foreach(root IN LISTS qt_roots)
        file(GLOB headers LIST_DIRECTORIES false ${root}/${module}/*)
        foreach(header IN LISTS headers)
          get_filename_component(file ${header} NAME)
          file(WRITE ${dir}/${module}/${file}
               "#error \"${module} is not for this folder: src/core has no ${name}\"\n")
        endforeach()
      endforeach()
    endforeach()
    file(WRITE ${dir}/.made "")
  endif()
endfunction()
rydex_forbidden_headers(widgets QtWidgets QtPrintSupport QtCharts QtSvg QtSvgWidgets
                        QtOpenGLWidgets QtNetwork QtTest)
rydex_forbidden_headers(gui QtGui)

# rydex_add_library(<target> <sources>...): the library of the folder whose
# CMakeLists.txt calls it.
function(rydex_add_library target)
  add_library(${target} STATIC ${ARGN})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${RYDEX_INCLUDE_ROOTS}/${target})
  if(NOT IS_SYMLINK ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
  rydex_warnings(${target})
  # The core builds without widgets, and without Qt Gui unless the folder
  # itself links it.
  string(FIND ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/src/core/ at)
  if(at EQUAL 0)
    target_include_directories(${target} BEFORE PRIVATE ${RYDEX_INCLUDE_ROOTS}/forbidden-widgets)
    set(links $<TARGET_PROPERTY:${target},LINK_LIBRARIES>)
    target_include_directories(${target} BEFORE PRIVATE
      $<$<NOT:$<IN_LIST:Qt6::Gui,${links}>>:${RYDEX_INCLUDE_ROOTS}/forbidden-gui>)
  endif()
endfunction()
