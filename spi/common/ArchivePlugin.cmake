# varnito_archive_plugin(TARGET NAME SOURCES file ... [LIBS lib ...])
# One of the archive plug-ins Varnito ships: NAME.spi in the 32-bit build and NAME.sph in the
# 64-bit one (VARNITO_SPI_SUFFIX), built into build/<arch>/spi/<folder of the sources>. Its
# exports are ArchiveExports.cpp's and WideExports.cpp's; SOURCES supply what ArchiveExports.h
# asks of a plug-in. The library exports the archive functions (the five, their wide forms and
# GetArchiveListW) under their plain names (stdcall in the 32-bit build), carries no symbol
# tables, and is checked after linking (CheckExports.cmake). Its compiled sources are also the object library TARGET_objects, for test builds of it.
set(VARNITO_SPI_COMMON ${CMAKE_CURRENT_LIST_DIR})
function(varnito_archive_plugin target)
  cmake_parse_arguments(P "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_library(${target}_objects OBJECT ${P_SOURCES} ${VARNITO_SPI_COMMON}/ArchiveExports.cpp
    ${VARNITO_SPI_COMMON}/WideExports.cpp ${VARNITO_SPI_COMMON}/ExportCalls.cpp)
  add_library(${target} SHARED $<TARGET_OBJECTS:${target}_objects> ${VARNITO_SPI_COMMON}/ArchivePlugin.def)
  target_link_libraries(${target} PRIVATE ${P_LIBS} spi_common)
  target_link_options(${target} PRIVATE -s)
  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(out ${CMAKE_BINARY_DIR}/${folder})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${P_NAME}
    PREFIX ""
    SUFFIX ${VARNITO_SPI_SUFFIX}
    RUNTIME_OUTPUT_DIRECTORY ${out}
    LIBRARY_OUTPUT_DIRECTORY ${out}
    ARCHIVE_OUTPUT_DIRECTORY ${out}/lib)
  varnito_stdcall_exports(${target})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DLIBRARY=$<TARGET_FILE:${target}> -DOBJDUMP=${CMAKE_OBJDUMP}
            -P ${VARNITO_SPI_COMMON}/CheckExports.cmake
    VERBATIM)
endfunction()
