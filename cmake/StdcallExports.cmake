# Susie hosts look a plug-in's exports up under their plain names. In the 32-bit build the
# exports are stdcall, which the linker would decorate (GetFile@24): these flags keep them
# plain. VARNITO_STDCALL_EXPORT_FLAGS is for a 32-bit compiler called outside a target.
set(VARNITO_STDCALL_EXPORT_FLAGS -Wl,--kill-at -Wl,--enable-stdcall-fixup)

# varnito_stdcall_exports(TARGET): a plug-in library's exports under their plain names.
function(varnito_stdcall_exports target)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    target_link_options(${target} PRIVATE ${VARNITO_STDCALL_EXPORT_FLAGS})
  endif()
endfunction()
