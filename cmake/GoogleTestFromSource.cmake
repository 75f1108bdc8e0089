# GoogleTest built from Debian's sources (package googletest) with the current compiler: Debian's
# libgtest-dev is a Linux library, a cross build needs its own. Gives GTest::gtest and
# GTest::gtest_main as find_package(GTest) does.
set(LOSFIX_GOOGLETEST_SOURCE_DIR /usr/src/googletest/googletest CACHE PATH
    "GoogleTest's sources for builds that cannot use the system's library")
if(NOT EXISTS ${LOSFIX_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest's sources are missing in ${LOSFIX_GOOGLETEST_SOURCE_DIR}: "
                        "scripts/install-deps --windows installs them")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${LOSFIX_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
