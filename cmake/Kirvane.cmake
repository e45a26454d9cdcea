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
    target_include_directories(${nom} PRIVATE ${PROJECT_SOURCE_DIR}/tests/commun)
    add_test(NAME ${nom} COMMAND ${nom} --benchmark_min_time=0.01)
    set_tests_properties(${nom} PROPERTIES LABELS bench ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# A Qt Test program (windows and widgets), one per source file, on the offscreen platform.
function(kirvane_qtest nom source)
    cmake_parse_arguments(Q "" "" "LIBS" ${ARGN})
    add_executable(${nom} ${source})
    target_link_libraries(${nom} PRIVATE ${Q_LIBS} Qt6::Test)
    target_include_directories(${nom} PRIVATE ${PROJECT_SOURCE_DIR}/tests/commun)
    add_test(NAME ${nom} COMMAND ${nom})
    set_tests_properties(${nom} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()

# A unit simulator from the sources of its folder: the shared library <nom> that ships
# beside the program (file name FICHIER_LINUX or FICHIER_WINDOWS, exporting only the unit
# library's functions and the simulator's controls), and the static library <nom>_coeur of
# the same objects for the tests and the benchmarks. Installed in the private library
# folder.
function(kirvane_simulateur nom)
    cmake_parse_arguments(S "" "FICHIER_LINUX;FICHIER_WINDOWS" "SOURCES;LIBS" ${ARGN})
    add_library(${nom}_objets OBJECT ${S_SOURCES})
    target_include_directories(${nom}_objets PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${nom}_objets PUBLIC ${S_LIBS})
    set_target_properties(${nom}_objets PROPERTIES
        AUTOMOC OFF
        POSITION_INDEPENDENT_CODE ON
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)

    add_library(${nom}_coeur STATIC $<TARGET_OBJECTS:${nom}_objets>)
    set_target_properties(${nom}_coeur PROPERTIES AUTOMOC OFF)
    target_include_directories(${nom}_coeur PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${nom}_coeur PUBLIC ${S_LIBS})

    add_library(${nom} SHARED $<TARGET_OBJECTS:${nom}_objets>)
    set_target_properties(${nom} PROPERTIES AUTOMOC OFF)
    target_link_libraries(${nom} PRIVATE ${S_LIBS})
    if(WIN32)
        get_filename_component(base ${S_FICHIER_WINDOWS} NAME_WE)
        set_target_properties(${nom} PROPERTIES PREFIX "" OUTPUT_NAME ${base})
    else()
        string(REGEX REPLACE "^lib(.*)\\.so$" "\\1" base ${S_FICHIER_LINUX})
        set_target_properties(${nom} PROPERTIES OUTPUT_NAME ${base})
    endif()
    install(TARGETS ${nom}
        LIBRARY DESTINATION ${KIRVANE_DOSSIER_BIBLIOTHEQUES}
        RUNTIME DESTINATION ${KIRVANE_DOSSIER_BIBLIOTHEQUES})
    # Every simulator ships beside the programs (src/ is configured first), and the
    # conformance test finds them all in the list.
    add_dependencies(kirvane ${nom})
    add_dependencies(kirvane-cli ${nom})
    set_property(GLOBAL APPEND PROPERTY KIRVANE_SIMULATEURS ${nom})
endfunction()
