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
