# Turns a form template into the exact bytes that are shipped: the form host
# substituted, every line ended by CR LF and a UTF-8 byte-order mark present or
# absent as the caller says. configure_file is not used because it may change
# the line ends; the template is handled as raw text instead.
#
# orv_generate_form_file(<template> <output> BOM|NOBOM)
function(orv_generate_form_file template output bomMode)
  file(READ "${template}" content)

  string(ASCII 239 187 191 bom)
  string(LENGTH "${bom}" bomLength)
  string(SUBSTRING "${content}" 0 ${bomLength} head)
  if(head STREQUAL bom)
    string(SUBSTRING "${content}" ${bomLength} -1 content)
  endif()

  # Whatever line ends the checkout has, the result has CR LF only.
  string(REPLACE "\r\n" "\n" content "${content}")
  string(REPLACE "\r" "\n" content "${content}")
  string(REPLACE "\n" "\r\n" content "${content}")

  string(REPLACE "@ORV_FORMS_HOST@" "${ORV_FORMS_HOST}" content "${content}")
  if(content MATCHES "@ORV_[A-Z_]+@")
    message(FATAL_ERROR "${template}: unknown placeholder ${CMAKE_MATCH_0}")
  endif()

  if(bomMode STREQUAL "BOM")
    set(content "${bom}${content}")
  elseif(NOT bomMode STREQUAL "NOBOM")
    message(FATAL_ERROR "orv_generate_form_file: BOM or NOBOM expected, got '${bomMode}'")
  endif()

  # Rewrite only on change, so a re-configure does not rebuild the resources.
  get_filename_component(outputDir "${output}" DIRECTORY)
  file(MAKE_DIRECTORY "${outputDir}")
  file(WRITE "${output}.tmp" "${content}")
  file(COPY_FILE "${output}.tmp" "${output}" ONLY_IF_DIFFERENT)
  file(REMOVE "${output}.tmp")

  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${template}")
endfunction()

# The host lands inside XML attribute values and URIs, so only a plain host
# name (with an optional port) is accepted.
function(orv_check_forms_host)
  if(NOT ORV_FORMS_HOST MATCHES "^[A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?(:[0-9]+)?$")
    message(FATAL_ERROR "ORV_FORMS_HOST '${ORV_FORMS_HOST}' is not a host name")
  endif()
endfunction()
