function(quorvix_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
    # GCC 12 reports impossible memcpy sizes inside std::string concatenation at -O2 (a known
    # false positive of -Wrestrict); it drowns real warnings in the Windows build.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()
