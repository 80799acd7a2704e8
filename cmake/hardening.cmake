# The hardening Debian and the RPM distributions build their packages with: stack protector,
# fortified libc calls, position-independent code, and relocations resolved and made read-only
# at start-up (full RELRO, BIND_NOW).
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  return()
endif()

add_compile_options(-fstack-protector-strong)

# Qt built with reduce_relocations asks its users for -fPIC; PIE lets the loader place the
# program anywhere. check_pie_supported() makes CMake pass -pie when linking executables.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)

include(CheckLinkerFlag)
check_linker_flag(CXX "LINKER:-z,relro,-z,now" ZL_LINKER_HAS_RELRO_NOW)
if(ZL_LINKER_HAS_RELRO_NOW)
  add_link_options("LINKER:-z,relro,-z,now")
endif()

# Fortified calls need the optimiser (glibc warns without it), and the sanitizers check the
# same calls themselves, so only optimised builds without them get it. Undefined first: a
# compiler or CXXFLAGS that already sets another level would otherwise warn of a redefinition.
set(ZL_FORTIFY OFF)
if(CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$" AND NOT (ZL_SANITIZE OR ZL_FUZZ))
  set(ZL_FORTIFY ON)
  add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2)
endif()
