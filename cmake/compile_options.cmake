# The repository's root, as every folder's library names it for its includes ("planning/plan.h"),
# in the main project and in the phone page's alike.
cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH TARVEX_ROOT)
# The compiler options of every build of the project's code, the phone page's included.
# Roundings between float and double are part of the results: no fused multiply-add,
# no fast-math, no excess precision (x86-64 computes in SSE registers; checked_math.cpp
# refuses to build where FLT_EVAL_METHOD says otherwise).
add_compile_options(-ffp-contract=off -fno-fast-math
                    -Wall -Wextra -Wpedantic -Wold-style-cast -Wnon-virtual-dtor
                    -Woverloaded-virtual)
if(TARVEX_WERROR)
    add_compile_options(-Werror)
endif()
