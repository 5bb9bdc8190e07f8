# Compile settings shared by every target of the project.
add_library(rezozur_settings INTERFACE)
target_compile_features(rezozur_settings INTERFACE cxx_std_20)
target_compile_options(rezozur_settings INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
target_compile_definitions(rezozur_settings INTERFACE
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER
    QT_NO_FOREACH)
if(REZOZUR_WERROR)
    target_compile_options(rezozur_settings INTERFACE -Werror)
endif()
option(REZOZUR_FUZZ "Build the libFuzzer targets (clang): every library instrumented" OFF)
if(REZOZUR_FUZZ)
    target_compile_options(rezozur_settings INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                      -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_link_options(rezozur_settings INTERFACE -fsanitize=address,undefined)
endif()
if(REZOZUR_SANITIZE)
    target_compile_options(rezozur_settings INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(rezozur_settings INTERFACE -fsanitize=address,undefined)
endif()

# A compiler cache, when the machine has one, keyed on paths relative to the source tree so that
# clones and work trees of the repository share it.
find_program(REZOZUR_CCACHE ccache)
if(REZOZUR_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} ${REZOZUR_CCACHE})
endif()

# rezozur_modulo(name sources... LIBS libs...): a module the program loads itself with dlopen. It lies
# beside the executables (the program's folder) and exports only what its code marks for export.
function(rezozur_modulo nome)
    cmake_parse_arguments(M "" "" "LIBS" ${ARGN})
    add_library(${nome} MODULE ${M_UNPARSED_ARGUMENTS})
    target_include_directories(${nome} PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${nome} PRIVATE ${M_LIBS} rezozur_settings)
    set_target_properties(${nome} PROPERTIES
        LIBRARY_OUTPUT_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    # Named even by a module that calls Qt alone: a shared object that does not name the C library is
    # refused by Debian's package checks.
    target_link_options(${nome} PRIVATE LINKER:--push-state,--no-as-needed,-lc,--pop-state)
endfunction()
