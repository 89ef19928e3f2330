# Fails when a model source includes a QtWidgets or QtPrintSupport header.
file(GLOB_RECURSE model_files
     ${ROOT}/src/app/settings/* ${ROOT}/src/base/* ${ROOT}/src/storage/*
     ${ROOT}/src/tiles/* ${ROOT}/src/map/* ${ROOT}/src/editor/*.h ${ROOT}/src/editor/*.cpp)
# The recursive glob also finds src/editor/controls, the widget layer.
list(FILTER model_files EXCLUDE REGEX "/src/editor/controls/")
set(bad "")
foreach(file ${model_files})
  file(STRINGS ${file} lines REGEX "#include[ \t]*<(QtWidgets|QtPrintSupport|QWidget|QApplication|QMessageBox|QAbstractScrollArea|QScrollBar|QMenu|QPrinter)")
  if(lines)
    list(APPEND bad "${file}: ${lines}")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "Model code includes widget headers:\n${bad}")
endif()
