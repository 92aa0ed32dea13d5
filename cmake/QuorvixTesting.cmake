# GoogleTest for both builds and one helper that registers a test executable.
if(CMAKE_CROSSCOMPILING)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
endif()

# Natively every test case is its own ctest entry; under Wine one entry per executable, because
# every Wine process start costs about a second.
function(quorvix_add_gtest name)
    cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
    quorvix_warnings(${name})
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME wine.${name} COMMAND ${name})
        set_tests_properties(wine.${name} PROPERTIES
            FIXTURES_REQUIRED wine TIMEOUT ${T_TIMEOUT} LABELS "wine;${T_LABELS}"
            ENVIRONMENT "QUORVIX_WINE_ENV=${CMAKE_BINARY_DIR}/wine-env")
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
            PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "native;${T_LABELS}")
    endif()
endfunction()
