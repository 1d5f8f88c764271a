# libdeflate, the archive writer's compressor, as the target Libdeflate::Libdeflate.
#
# Native builds use the system's copy (Debian: libdeflate-dev, through pkg-config). The Windows
# cross build has none to use: scripts/fetch-libdeflate-windows builds the same Debian version
# from its source package into the build folder, once per build folder.
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(_dir ${CMAKE_BINARY_DIR}/libdeflate)
  execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-libdeflate-windows ${_dir}
                  RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "Could not build libdeflate for Windows (scripts/fetch-libdeflate-windows)")
  endif()
  add_library(Libdeflate::Libdeflate STATIC IMPORTED GLOBAL)
  set_target_properties(Libdeflate::Libdeflate PROPERTIES
    IMPORTED_LOCATION ${_dir}/lib/libdeflate.a
    INTERFACE_INCLUDE_DIRECTORIES ${_dir}/include)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LIBDEFLATE REQUIRED IMPORTED_TARGET GLOBAL libdeflate>=1.14)
  add_library(Libdeflate::Libdeflate ALIAS PkgConfig::LIBDEFLATE)
endif()
