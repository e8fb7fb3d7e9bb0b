# Run after linking a shipped plug-in: a Susie host finds the archive exports (the five, their
# wide forms and GetArchiveListW) only under their plain names, and the library may import nothing but Windows' own DLLs.
#   cmake -DLIBRARY=Zip.spi -DOBJDUMP=objdump -P CheckExports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} cannot read ${LIBRARY}")
endif()

# The export names are listed under "[Ordinal/Name Pointer] Table", up to a blank line.
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" start)
if(start EQUAL -1)
  message(FATAL_ERROR "${LIBRARY} exports nothing")
endif()
string(SUBSTRING "${dump}" ${start} -1 table)
string(FIND "${table}" "\n\n" end)
string(SUBSTRING "${table}" 0 ${end} table)
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" exports "${table}")
set(names)
foreach(line ${exports})
  string(REGEX REPLACE "\\[ *[0-9]+\\] " "" name "${line}")
  list(APPEND names ${name})
endforeach()
list(SORT names)
set(expected GetArchiveInfo GetArchiveInfoW GetArchiveListW GetFile GetFileInfo GetFileInfoW GetFileW
  GetPluginInfo GetPluginInfoW IsSupported IsSupportedW)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "${LIBRARY} exports '${names}', not '${expected}'")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
foreach(line ${imports})
  string(REPLACE "DLL Name: " "" dll "${line}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll MATCHES "^(kernel32|user32|advapi32|msvcrt|bcrypt)\\.dll$")
    message(FATAL_ERROR "${LIBRARY} imports ${dll}, which is not a Windows system DLL")
  endif()
endforeach()
