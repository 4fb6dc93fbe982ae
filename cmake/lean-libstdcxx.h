/* Forced into every C++ file of the Windows production code. libstdc++
 * normally links std::string from one prebuilt object that holds every
 * member (and the exception machinery it was compiled with); without its
 * extern templates the compiler instantiates only the members the code
 * uses, and unused ones are dropped at link time. */
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0
