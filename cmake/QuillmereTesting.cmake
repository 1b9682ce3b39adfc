# With QUILLMERE_SANITIZE every test runs with the sanitizers set to stop at
# the first finding, leaks included; no leak is suppressed.
set(QUILLMERE_SANITIZER_ENVIRONMENT
    "ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
    "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")

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
    # Labelled with its folder of tests/ (rename, cli, ...), so that CI can run
    # one layer's tests alone: ctest -L '^rename$'.
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set_tests_properties(${name} PROPERTIES
        LABELS ${folder}
        TIMEOUT ${ARG_TIMEOUT}
        ENVIRONMENT "${environment}")
endfunction()
