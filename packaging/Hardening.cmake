# The hardening Debian gives its own packages (dpkg-buildflags), for every
# optimised build, so the programs the README builds and the package ships
# are the same: checked buffer functions, a stack protector, a read-only
# relocation table resolved at start-up, and position-independent programs.
# Debug builds go without the checked functions, which need optimisation,
# and so do the sanitizer and fuzzing builds, whose run-time checks they
# would get in the way of.
option(KESTROVANE_HARDENING "Build with Debian's hardening flags" ON)
if(NOT KESTROVANE_HARDENING OR KESTROVANE_SANITIZE OR KESTROVANE_FUZZ)
  return()
endif()

include(CheckCXXCompilerFlag)
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

set(optimised "$<NOT:$<CONFIG:Debug>>")
add_compile_options(-fstack-protector-strong -fstack-clash-protection
  "$<${optimised}:-U_FORTIFY_SOURCE>" "$<${optimised}:-D_FORTIFY_SOURCE=2>")
check_cxx_compiler_flag(-fcf-protection KESTROVANE_HAS_CF_PROTECTION)
if(KESTROVANE_HAS_CF_PROTECTION)
  add_compile_options(-fcf-protection)
endif()
add_link_options(-Wl,-z,relro -Wl,-z,now)
