# An imported target for one header-only library of the host: a folder holding a link to its
# headers alone, so the cross compiler never sees the host's C library headers.
function(slab_host_headers target folder)
  if(TARGET ${target})
    return()
  endif()
  set(dir ${CMAKE_BINARY_DIR}/host-headers/${folder})
  file(MAKE_DIRECTORY ${dir})
  if(NOT EXISTS ${dir}/${folder})
    file(CREATE_LINK /usr/include/${folder} ${dir}/${folder} SYMBOLIC)
  endif()
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${dir})
endfunction()
