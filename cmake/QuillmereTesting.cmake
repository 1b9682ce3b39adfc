# With QUILLMERE_SANITIZE every test runs with the sanitizers set to stop at
# the first finding, leaks included; no leak is suppressed.
set(QUILLMERE_SANITIZER_ENVIRONMENT
    "ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
    "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
# With QUILLMERE_TSAN the first data race ends the test. Qt is not built with
# ThreadSanitizer: the memory functions it calls (memmove and the like, from
# its own image threads, say) are not checked, since their synchronisation is
# out of sight; a few further reports from inside it are known and
# suppressed (see the file for why each one is there). Our code is checked
# in full. A test that starts a program forks with Qt's threads running;
# the child only sets up and runs the program, so it is not stopped for it.
set(QUILLMERE_TSAN_ENVIRONMENT
    "TSAN_OPTIONS=halt_on_error=1:die_after_fork=0:second_deadlock_stack=1:ignore_noninstrumented_modules=1:suppressions=${PROJECT_SOURCE_DIR}/cmake/tsan-suppressions.txt")

# quillmere_add_qtest(<name> SOURCES <files...> LIBS <targets...> [LOCALE <locale>] [TIMEOUT <s>])
#
# One QTest executable per unit, registered with ctest. Every test runs with
# the offscreen platform; its own empty per-user folders it makes itself
# (tests/support/TestIsolation.h), so it never reads or writes the real
# user's settings, journals or Trash, even when started by hand. The locale is fixed too
# (C.UTF-8 unless LOCALE names another), so the texts a test expects do not
# depend on the language of whoever runs it.
function(quillmere_add_qtest name)
    cmake_parse_arguments(ARG "" "TIMEOUT;LOCALE" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE quillmere_flags quillmere_test_support Qt6::Test ${ARG_LIBS})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    add_test(NAME ${name} COMMAND ${name})
    if(NOT ARG_LOCALE)
        set(ARG_LOCALE C.UTF-8)
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set(environment "QT_QPA_PLATFORM=offscreen;LANG=${ARG_LOCALE};LC_ALL=${ARG_LOCALE};LC_MESSAGES=;LANGUAGE=")
    if(QUILLMERE_SANITIZE)
        # Instrumented code runs a few times slower; any finding fails the test.
        math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * 4")
        list(APPEND environment ${QUILLMERE_SANITIZER_ENVIRONMENT})
    endif()
    if(QUILLMERE_TSAN)
        math(EXPR ARG_TIMEOUT "${ARG_TIMEOUT} * 6")
        list(APPEND environment ${QUILLMERE_TSAN_ENVIRONMENT})
    endif()
    # Labelled by the tests' folder, so one layer's tests can be built
    # (target tests_<folder>) and run (ctest -L <folder>) on their own.
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set_property(GLOBAL APPEND PROPERTY QUILLMERE_TESTS_${folder} ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${ARG_TIMEOUT}
        LABELS ${folder}
        ENVIRONMENT "${environment}")
endfunction()

# After every test folder: one target per folder that builds its tests.
function(quillmere_add_test_folder_targets)
    foreach(folder IN LISTS ARGN)
        get_property(tests GLOBAL PROPERTY QUILLMERE_TESTS_${folder})
        if(tests)
            add_custom_target(tests_${folder} DEPENDS ${tests})
        endif()
    endforeach()
endfunction()
