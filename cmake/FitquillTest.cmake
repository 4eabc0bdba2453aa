# fitquill_add_test(NAME name SOURCES a.cpp ... [LIBS lib ...] [WIDGET])
# Builds one GoogleTest executable and registers it with CTest. Widget tests run on
# the offscreen platform; every test learns where the source tree's test data lives.
function(fitquill_add_test)
    cmake_parse_arguments(ARG "WIDGET" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    # Position-independent like the toolkit's libraries, so that every test can reuse the
    # one precompiled header whatever it links.
    set_target_properties(${ARG_NAME} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    if(ARG_WIDGET)
        fitquill_test_headers(fitquill_widget_test_headers WIDGET)
        target_precompile_headers(${ARG_NAME} REUSE_FROM fitquill_widget_test_headers)
    elseif(NOT ARG_LIBS MATCHES "Qt6::|fitquill_desktop")
        # A test that takes the toolkit without being a widget test gets the toolkit's
        # compile options, which neither shared header was made with: it parses its own.
        fitquill_test_headers(fitquill_test_headers)
        target_precompile_headers(${ARG_NAME} REUSE_FROM fitquill_test_headers)
    endif()
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
    set(env "FITQUILL_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
    if(ARG_WIDGET)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    set_tests_properties(${ARG_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()

# fitquill_test_headers(NAME [WIDGET]): a program that only compiles the headers every test
# parses (GoogleTest and the standard library, and for widget tests the toolkit's), for the
# tests to reuse as their precompiled header: parsing them was most of a test's compile time.
# A program, not a library, so that it is compiled with the same flags as the tests.
function(fitquill_test_headers name)
    if(TARGET ${name})
        return()
    endif()
    cmake_parse_arguments(ARG "WIDGET" "" "" ${ARGN})
    file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/test_headers.cpp
        CONTENT "// Compiles the tests' precompiled headers.\n")
    add_executable(${name} ${PROJECT_BINARY_DIR}/test_headers.cpp)
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
    set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    set(headers <gtest/gtest.h> <algorithm> <filesystem> <fstream> <functional> <map>
        <memory> <optional> <random> <set> <string> <vector>)
    if(ARG_WIDGET)
        # Not <QTest>: its test-case folder macro differs from one test folder to the next.
        # The widgets alone: every widget test has at least their compile definitions.
        target_link_libraries(${name} PRIVATE Qt6::Widgets)
        list(APPEND headers <QApplication> <QCheckBox> <QComboBox> <QImage> <QLabel>
            <QLineEdit> <QPainter> <QPushButton> <QString> <QTimer> <QWidget>)
    endif()
    target_precompile_headers(${name} PRIVATE ${headers})
endfunction()
