# orv_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [GUI] [LABELS <l...>])
# One QTest executable per test class, registered with CTest.
function(orv_add_test)
  cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE orv_common Qt6::Test ${T_LIBS})
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
  target_compile_definitions(${T_NAME} PRIVATE
    ORV_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    ORV_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set(env "QT_QPA_PLATFORM=offscreen")
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}")
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
