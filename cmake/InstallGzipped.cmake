# twinfold_install_gzipped(SOURCE DESTINATION COMPONENT [RENAME NAME])
# Installs SOURCE compressed as NAME.gz (SOURCE's own name by default), as manual pages and
# changelogs are shipped. gzip -n leaves out the name and time, so that a rebuild gives the same
# bytes.
function(twinfold_install_gzipped source destination component)
  cmake_parse_arguments(PARSE_ARGV 3 arg "" "RENAME" "")
  if(NOT IS_ABSOLUTE ${source})
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  endif()
  if(arg_RENAME)
    set(name ${arg_RENAME})
  else()
    get_filename_component(name ${source} NAME)
  endif()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${component}/${name}.gz)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${component}
                     COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${source} ${output}
                     DEPENDS ${source} VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip_${component}_${name}" target)
  add_custom_target(${target} ALL DEPENDS ${output})
  install(FILES ${output} DESTINATION ${destination} COMPONENT ${component})
endfunction()
