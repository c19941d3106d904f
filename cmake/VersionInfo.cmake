# ulk_embed_version_info(target VERSION a.b.c.d [STRINGS Name=Value ...])
# Gives an ELF target a VS_VERSIONINFO block in its ".vsinfo" section, from
# which FileVersionInfo reads it as it reads a module's version resource.
function(ulk_embed_version_info target)
  cmake_parse_arguments(ARG "" "VERSION" "STRINGS" ${ARGN})
  set(block ${CMAKE_CURRENT_BINARY_DIR}/${target}.vsinfo)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND $<TARGET_FILE:ulk_vsinfo_tool> ${block} ${ARG_VERSION} ${ARG_STRINGS}
    COMMAND ${CMAKE_OBJCOPY} --remove-section .vsinfo
            --add-section .vsinfo=${block} --set-section-flags .vsinfo=noload,readonly
            $<TARGET_FILE:${target}>
    VERBATIM)
  add_dependencies(${target} ulk_vsinfo_tool)
endfunction()
