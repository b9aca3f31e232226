# The programs' Windows icon, the Linux package's own drawn at the sizes Windows asks for: 16 to
# 48 pixels for title bars, menus and lists at every screen density, 256 (kept as PNG, as Windows
# allows) for Explorer's large views. Made at build time by rsvg-convert (librsvg2-bin) and
# icotool (icoutils), from Debian's packages.
find_program(VIDOR_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(VIDOR_ICOTOOL icotool REQUIRED)
set(svg ${PROJECT_SOURCE_DIR}/packaging/fr.brenlo.Vidor.svg)
set(drawn ${PROJECT_BINARY_DIR}/generated/icon)
set(VIDOR_ICON ${PROJECT_BINARY_DIR}/generated/Vidor.ico)
set(draw COMMAND ${CMAKE_COMMAND} -E make_directory ${drawn})
set(small)
foreach(size 16 20 24 32 40 48 64 256)
  list(APPEND draw
    COMMAND ${VIDOR_RSVG_CONVERT} -w ${size} -h ${size} -o ${drawn}/${size}.png ${svg})
  if(NOT size EQUAL 256)
    list(APPEND small ${drawn}/${size}.png)
  endif()
endforeach()
add_custom_command(OUTPUT ${VIDOR_ICON}
  ${draw}
  COMMAND ${VIDOR_ICOTOOL} -c -o ${VIDOR_ICON} ${small} -r ${drawn}/256.png
  DEPENDS ${svg} VERBATIM)
add_custom_target(vidor_icon DEPENDS ${VIDOR_ICON})
