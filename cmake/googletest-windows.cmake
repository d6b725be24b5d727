# GoogleTest for the Windows test programs, built from source with the same
# compiler (Debian ships the sources in /usr/src/googletest). A Windows
# developer points VITROLUX_GTEST_SOURCE at a GoogleTest checkout, or installs
# a package that find_package finds.
set(VITROLUX_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")

if(NOT TARGET GTest::gtest)
  if(EXISTS "${VITROLUX_GTEST_SOURCE}/CMakeLists.txt")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    # The runtime the project links (statically, see the top CMakeLists).
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    add_subdirectory(${VITROLUX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # GoogleTest's own sources are not ours to keep warning-free.
    foreach(target gtest gtest_main gmock gmock_main)
      if(TARGET ${target})
        target_compile_options(${target} PRIVATE $<$<NOT:$<CXX_COMPILER_ID:MSVC>>:-w>)
      endif()
    endforeach()
    foreach(target gtest gtest_main gmock gmock_main)
      if(TARGET ${target} AND NOT TARGET GTest::${target})
        add_library(GTest::${target} ALIAS ${target})
      endif()
    endforeach()
  else()
    find_package(GTest REQUIRED)
  endif()
endif()
