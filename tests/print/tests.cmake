# One test program per print folder: tests/print/<layer>/*.cpp test print/<layer>.
# Qt tests run on the offscreen platform.
# Qt's imported targets are visible per folder: find them here too.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets PrintSupport Test)
foreach(layer settings layout printing ui)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/*.cpp)
  if(sources)
    add_executable(test_print_${layer} ${sources})
    target_include_directories(test_print_${layer} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    # The window tests make their own QApplication, so they bring their own main.
    if(layer STREQUAL "ui")
      target_link_libraries(test_print_${layer} PRIVATE txp_${layer} Qt6::Test GTest::gtest)
      if(TARGET txp)
        add_dependencies(test_print_${layer} txp)
      endif()
    else()
      target_link_libraries(test_print_${layer} PRIVATE txp_${layer} Qt6::Test GTest::gtest_main)
    endif()
    target_compile_definitions(test_print_${layer} PRIVATE
      PRINT_FIXTURES_DIR="${CMAKE_CURRENT_SOURCE_DIR}/fixtures"
      BIN_DIR="${CMAKE_BINARY_DIR}/bin")
    gtest_discover_tests(test_print_${layer} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endforeach()
