# The print program txp. Every folder is one static library made of every .cpp in it;
# calls run one way only:  ui -> printing -> layout -> settings
# layout knows only the standard library (and settings' plain records); settings at most QtCore;
# printers and widgets appear only in printing and ui.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport Test)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

set(txp_qt_settings Qt6::Core)
set(txp_qt_layout "")
set(txp_qt_printing Qt6::Gui Qt6::PrintSupport)
set(txp_qt_ui Qt6::Widgets Qt6::PrintSupport)

set(previous "")
foreach(layer settings layout printing ui)
  file(GLOB sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/*.qrc)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  set(cpp_sources ${sources})
  list(FILTER cpp_sources INCLUDE REGEX "\\.cpp$")
  if(cpp_sources)
    add_library(txp_${layer} STATIC ${sources})
    target_include_directories(txp_${layer} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/..)
    target_link_libraries(txp_${layer} PUBLIC ${previous} ${txp_qt_${layer}})
  else()
    add_library(txp_${layer} INTERFACE)
    target_include_directories(txp_${layer} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/..)
    target_link_libraries(txp_${layer} INTERFACE ${previous} ${txp_qt_${layer}})
  endif()
  set(previous txp_${layer})
endforeach()

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/ui/main.cpp)
  add_executable(txp ui/main.cpp)
  target_link_libraries(txp PRIVATE txp_ui)
  set_target_properties(txp PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/txp)
endif()

# The help page ships beside the program.
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/ui/txp.html)
  configure_file(ui/txp.html ${CMAKE_BINARY_DIR}/bin/txp/txp.html COPYONLY)
endif()

# Benchmarks (not tests): print/bench/*.cpp, one program each.
file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/bench/*.cpp)
foreach(src ${bench_sources})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE txp_ui)
endforeach()
