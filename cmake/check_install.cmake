# Installs the build into a scratch prefix and checks what the desktop needs:
# the programs, the menu entry, the map file type and the icon in every size.
#   cmake -DBUILD=<build tree> -DPREFIX=<scratch prefix> -P check_install.cmake

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(result)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected bin/tessellan bin/tessellan-tool share/applications/tessellan.desktop
             share/mime/packages/tessellan.xml share/icons/hicolor/scalable/apps/tessellan.svg)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/tessellan.png)
endforeach()
set(bad "")
foreach(file ${expected})
  if(NOT EXISTS ${PREFIX}/${file})
    list(APPEND bad "missing ${file}")
  endif()
endforeach()

# The lines the desktop reads to list, start and associate the program.
file(STRINGS ${PREFIX}/share/applications/tessellan.desktop entry)
foreach(line "[Desktop Entry]" "Type=Application" "Name=Tessellan" "Exec=tessellan %f"
             "Icon=tessellan" "MimeType=application/x-tessellan-map;"
             "Categories=Graphics;2DGraphics;Game;")
  list(FIND entry "${line}" index)
  if(index EQUAL -1)
    list(APPEND bad "tessellan.desktop lacks \"${line}\"")
  endif()
endforeach()

find_program(desktop_validate desktop-file-validate)
if(desktop_validate)
  execute_process(COMMAND ${desktop_validate} ${PREFIX}/share/applications/tessellan.desktop
                  RESULT_VARIABLE result)
  if(result)
    list(APPEND bad "desktop-file-validate rejects tessellan.desktop")
  endif()
endif()

# The install refreshes the MIME cache where the tool exists; the cache it
# builds shows that the type was understood, glob included.
find_program(update_mime update-mime-database)
if(update_mime)
  set(type ${PREFIX}/share/mime/application/x-tessellan-map.xml)
  if(NOT EXISTS ${type})
    list(APPEND bad "update-mime-database made no entry for application/x-tessellan-map")
  else()
    file(READ ${type} text)
    if(NOT text MATCHES "Tessellan battle map")
      list(APPEND bad "the MIME type lacks its comment")
    endif()
    file(READ ${PREFIX}/share/mime/globs2 globs)
    if(NOT globs MATCHES "application/x-tessellan-map:\\*\\.tqm")
      list(APPEND bad "the MIME type lacks the glob *.tqm")
    endif()
  endif()
endif()

find_program(xmllint xmllint)
if(xmllint)
  execute_process(COMMAND ${xmllint} --noout ${PREFIX}/share/mime/packages/tessellan.xml
                          ${PREFIX}/share/icons/hicolor/scalable/apps/tessellan.svg
                  RESULT_VARIABLE result)
  if(result)
    list(APPEND bad "xmllint rejects the MIME package or the icon")
  endif()
endif()

if(bad)
  foreach(line ${bad})
    message(NOTICE "${line}")
  endforeach()
  message(FATAL_ERROR "The install is incomplete (listed above).")
endif()
