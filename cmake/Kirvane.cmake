# Sources of a folder: every .cpp, less the files of the other platform
# (name_windows.cpp builds only on Windows, name_linux.cpp only elsewhere).
function(kirvane_sources out dir)
    file(GLOB fichiers CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(WIN32)
        list(FILTER fichiers EXCLUDE REGEX "_linux\\.cpp$")
    else()
        list(FILTER fichiers EXCLUDE REGEX "_windows\\.cpp$")
    endif()
    set(${out} ${fichiers} PARENT_SCOPE)
endfunction()

# A GoogleTest program of one folder of tests/: every test_*.cpp of the folder, run by
# CTest one test case at a time.
function(kirvane_test nom)
    cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
    file(GLOB fichiers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
    add_executable(${nom} ${fichiers} ${PROJECT_SOURCE_DIR}/tests/commun/main_gtest.cpp)
    target_include_directories(${nom} PRIVATE ${PROJECT_SOURCE_DIR}/tests/commun)
    target_link_libraries(${nom} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock Qt6::Gui)
    gtest_discover_tests(${nom}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
        DISCOVERY_TIMEOUT 60)
endfunction()

# A benchmark program; CTest runs it once, briefly, so that CI proves it builds and runs.
function(kirvane_bench nom source)
    cmake_parse_arguments(B "" "" "LIBS" ${ARGN})
    add_executable(${nom} ${source})
    target_link_libraries(${nom} PRIVATE ${B_LIBS} benchmark::benchmark)
    add_test(NAME ${nom} COMMAND ${nom} --benchmark_min_time=0.01)
    set_tests_properties(${nom} PROPERTIES LABELS bench ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A Qt Test program (windows and widgets), one per source file, on the offscreen platform.
function(kirvane_qtest nom source)
    cmake_parse_arguments(Q "" "" "LIBS" ${ARGN})
    add_executable(${nom} ${source})
    target_link_libraries(${nom} PRIVATE ${Q_LIBS} Qt6::Test)
    add_test(NAME ${nom} COMMAND ${nom})
    set_tests_properties(${nom} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
