# Fails when a source file includes from a folder its layer may not use, or
# when model code includes a QtWidgets or QtPrintSupport header. Run by the
# build (a stamp target) and by ctest:
#   cmake -DROOT=<source tree> [-DSTAMP=<file to touch>] -P check_layers.cmake
#
# Each layer folder lists the folders (under src/) whose headers it may
# include; an include without a folder names a file beside the includer.
# Layers point only down: base < storage < tiles < map < render < editor <
# editor/controls, and widgets beside the editor's controls; the dungeon
# generator builds through the editor's operations; export and print
# draw through render and never use the editor; app on top. The command-line
# tool uses the model, export and printing, and the settings store for the
# installed tilesets' folder and names; the icon painter none of it. The
# printing windows and the system's printers (print/ui) need widgets; the
# rest of printing runs headless.

set(layers src/base src/storage src/tiles src/map src/render src/editor src/generate src/editor/controls src/export
           src/print src/print/ui src/widgets src/app/settings src/app src/app/tileseteditor tools/tool
           tools/tilegen tools/icongen)
set(drawing base storage tiles map render)
set(model ${drawing} editor)
set(allowed_src/base base)
set(allowed_src/storage base storage)
set(allowed_src/tiles base storage tiles)
set(allowed_src/map base storage tiles map)
set(allowed_src/render ${drawing})
set(allowed_src/editor ${model})
set(allowed_src/generate ${model} generate)
set(allowed_src/editor/controls ${model} editor/controls)
set(allowed_src/export ${drawing} export)
set(allowed_src/print ${drawing} print)
set(allowed_src/print/ui ${drawing} print print/ui widgets)
set(allowed_src/widgets ${model} widgets)
set(allowed_src/app/settings base storage tiles map app/settings)
set(allowed_src/app ${model} generate editor/controls export print print/ui widgets app app/settings
    app/tileseteditor)
# The Tileset Editor's window: a part of the application beside the main
# window, using the same services.
set(allowed_src/app/tileseteditor ${model} widgets app app/settings app/tileseteditor)
set(allowed_tools/tool ${model} generate export print print/ui app/settings)
set(allowed_tools/tilegen base storage tiles)
set(allowed_tools/icongen "")
# Folders that run headless: no widget or printer headers.
set(headless src/base src/storage src/tiles src/map src/render src/editor src/generate src/export src/print
             tools/tool tools/icongen)
set(widget_headers "QtWidgets|QtPrintSupport|QWidget|QApplication|QMessageBox|QAbstractScrollArea|QScrollBar|QMenu|QPrinter")

# The layer of a file: the longest layer folder that holds it directly.
function(layer_of file out)
  file(RELATIVE_PATH rel ${ROOT} ${file})
  get_filename_component(dir ${rel} DIRECTORY)
  set(${out} "" PARENT_SCOPE)
  foreach(layer ${layers})
    if(dir STREQUAL layer)
      set(${out} ${layer} PARENT_SCOPE)
    endif()
  endforeach()
endfunction()

file(GLOB_RECURSE sources ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/tools/*.h ${ROOT}/tools/*.cpp)
set(bad "")
foreach(file ${sources})
  layer_of(${file} layer)
  if(NOT layer)
    list(APPEND bad "${file}: lies in no layer folder")
    continue()
  endif()
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]*/[^\"]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" path "${line}")
    get_filename_component(folder ${path} DIRECTORY)
    list(FIND allowed_${layer} "${folder}" index)
    if(index EQUAL -1)
      list(APPEND bad "${file}: layer ${layer} may not include \"${path}\"")
    endif()
  endforeach()
  list(FIND headless ${layer} index)
  if(NOT index EQUAL -1)
    file(STRINGS ${file} widgets REGEX "#include[ \t]*<(${widget_headers})")
    if(widgets)
      list(APPEND bad "${file}: headless code includes ${widgets}")
    endif()
  endif()
endforeach()
if(bad)
  foreach(line ${bad})
    message(NOTICE "${line}")
  endforeach()
  message(FATAL_ERROR "Includes that break the layering (listed above).")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
