# libjpeg-turbo for SAVEIMG's JPEG files. The native tree links Debian's
# libjpeg62-turbo-dev. The Windows trees use a cross-built copy when one was
# built into build/jpeg-<triplet> (tools/build_jpeg_cross.sh); without it the
# build still works and SAVEIMG reports that JPEG is not available.
if(MAQO_WIN32)
  string(REGEX REPLACE "-g\\+\\+.*$" "" MAQO_JPEG_TRIPLET "${CMAKE_CXX_COMPILER}")
  get_filename_component(MAQO_JPEG_TRIPLET "${MAQO_JPEG_TRIPLET}" NAME)
  set(MAQO_JPEG_PREFIX "${CMAKE_SOURCE_DIR}/build/jpeg-${MAQO_JPEG_TRIPLET}")
  if(EXISTS "${MAQO_JPEG_PREFIX}/lib/libjpeg.a" AND EXISTS "${MAQO_JPEG_PREFIX}/include/jpeglib.h")
    set_source_files_properties(${CMAKE_SOURCE_DIR}/automation/image/jpeg_writer.cpp PROPERTIES INCLUDE_DIRECTORIES "${MAQO_JPEG_PREFIX}/include")
    target_link_libraries(maqo_core PUBLIC "${MAQO_JPEG_PREFIX}/lib/libjpeg.a")
    set_source_files_properties(${CMAKE_SOURCE_DIR}/automation/image/jpeg_writer.cpp PROPERTIES COMPILE_DEFINITIONS MAQO_HAVE_JPEG)
  else()
    message(STATUS "JPEG: no cross-built libjpeg-turbo in ${MAQO_JPEG_PREFIX}; SAVEIMG writes BMP only")
  endif()
else()
  find_package(JPEG)
  if(JPEG_FOUND)
    target_link_libraries(maqo_core PUBLIC JPEG::JPEG)
    set_source_files_properties(${CMAKE_SOURCE_DIR}/automation/image/jpeg_writer.cpp PROPERTIES COMPILE_DEFINITIONS MAQO_HAVE_JPEG)
  else()
    message(STATUS "JPEG: libjpeg62-turbo-dev not found; SAVEIMG writes BMP only")
  endif()
endif()
