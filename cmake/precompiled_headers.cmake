# Precompiled headers: the Windows, shell and standard library headers that most
# of our sources include, compiled once for each group of targets whose compile
# flags are the same (GCC accepts a precompiled header only under the flags it
# was made with). Every source still includes what it uses: a build with the
# option OFF, as the clang-based checks configure it, must compile as well.
option(QUORLEN_PRECOMPILED_HEADERS "Precompile the Windows, standard library and GoogleTest headers" ON)

# <windowsx.h> stays out: its many function-like macros would reach sources
# that never asked for them.
set(quorlen_windows_headers
  <windows.h> <commctrl.h> <shellapi.h> <shlobj.h> <shobjidl.h> <shlwapi.h>)
set(quorlen_standard_headers
  <algorithm> <array> <cstdint> <functional> <optional> <utility> <vector>)

# GCC does not keep `#pragma GCC diagnostic` in a precompiled header. libstdc++'s
# <bits/char_traits.h> uses one to silence -Warray-bounds, which GCC 12 raises
# wrongly where it inlines std::wstring's copies into our code; from a
# precompiled header the pragma is lost and -Werror fails correct sources. So
# with GCC the headers that bring char_traits in (strings, streams, memory,
# filesystem and GoogleTest itself) are parsed by each source as before.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(quorlen_string_headers)
  set(quorlen_gtest_headers)
else()
  set(quorlen_string_headers <memory> <string> <string_view>)
  set(quorlen_gtest_headers <gtest/gtest.h> <filesystem>)
endif()

# The program's library, the program and the small helper programs.
set(QUORLEN_PROGRAM_PCH_HEADERS
  ${quorlen_windows_headers} ${quorlen_standard_headers} ${quorlen_string_headers})
# The test and benchmark programs, which are built with GoogleTest.
set(QUORLEN_TEST_PCH_HEADERS ${QUORLEN_PROGRAM_PCH_HEADERS} ${quorlen_gtest_headers})

# Precompiles the given headers for TARGET.
function(quorlen_precompile_headers target)
  if(QUORLEN_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()

# Lets TARGET use the precompiled headers of OWNER, whose compile flags it shares.
function(quorlen_reuse_precompiled_headers target owner)
  if(QUORLEN_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} REUSE_FROM ${owner})
  endif()
endfunction()
