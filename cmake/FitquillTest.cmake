# fitquill_add_test(NAME name SOURCES a.cpp ... [LIBS lib ...] [WIDGET])
# Builds one GoogleTest executable and registers it with CTest. Widget tests run on
# the offscreen platform; every test learns where the source tree's test data lives.
function(fitquill_add_test)
    cmake_parse_arguments(ARG "WIDGET" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
    set(env "FITQUILL_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
    if(ARG_WIDGET)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    set_tests_properties(${ARG_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
