# Included before the engine is added: a fuzz build instruments everything it compiles.
option(QUILLBOX_FUZZ "Build the libFuzzer targets in fuzz/ (clang only)" OFF)
if(QUILLBOX_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "QUILLBOX_FUZZ needs clang: configure with CXX=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
