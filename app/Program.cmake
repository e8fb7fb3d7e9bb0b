# Start-up and the program itself. Included by the top level after every subsystem, since
# start-up shows the windows of all of them.
set(startup_libs core framework)
foreach(lib plugins ui extract extractwin listwin settings)
  if(TARGET ${lib})
    list(PREPEND startup_libs ${lib})
  endif()
endforeach()

add_library(app_startup STATIC ${CMAKE_SOURCE_DIR}/app/ExtractorApp.cpp)
target_link_libraries(app_startup PUBLIC ${startup_libs})

add_executable(Varnito WIN32 ${CMAKE_SOURCE_DIR}/app/AppInstance.cpp ${VARNITO_WINMAIN})
target_link_libraries(Varnito PRIVATE varnito_res varnito_manifest app_startup)
set_target_properties(Varnito PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # A 32-bit process on 64-bit Windows gets 4 GB of address space instead of 2, room for an
  # entry of a gigabyte and more in one piece.
  target_link_options(Varnito PRIVATE -Wl,--large-address-aware)
endif()
