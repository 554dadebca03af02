# Read by cpack as the package is made: the QML modules the program imports, found by Qt's own
# qmlimportscanner over our QML, each turned into the Debian package that owns the module's qmldir.
# The program loads them at run time, so no library tool (dpkg-shlibdeps) can see them.
#
# Takes from CPackConfig.cmake:
#   CPACK_TESSARIN_QML_SCANNER     qmlimportscanner
#   CPACK_TESSARIN_QML_IMPORT_PATH Qt's QML folder
#   CPACK_TESSARIN_QML_ROOT        the folder holding our QML
#   CPACK_TESSARIN_OWN_MODULES     our own module URIs (compiled into the program)
# and adds to CPACK_DEBIAN_PACKAGE_DEPENDS.

cmake_policy(SET CMP0057 NEW) # IN_LIST
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

# Runs the scanner with the given arguments; the JSON list of what they import goes to `out`.
function(tessarin_scan out)
  execute_process(COMMAND "${CPACK_TESSARIN_QML_SCANNER}" ${ARGN} -importPath "${CPACK_TESSARIN_QML_IMPORT_PATH}"
    OUTPUT_VARIABLE _json RESULT_VARIABLE _status)
  if(NOT _status EQUAL 0)
    message(FATAL_ERROR "qmlimportscanner failed (${_status}): cannot tell which QML modules the package needs")
  endif()
  set(${out} "${_json}" PARENT_SCOPE)
endfunction()

# Our QML first, then the QML files of every module it needs, as their qmldir lists them: a module's own
# QML may import more (QtQuick.Dialogs' file dialog needs Qt.labs.folderlistmodel, which Debian's
# package of it does not depend on).
tessarin_scan(_imports -rootPath "${CPACK_TESSARIN_QML_ROOT}")
set(_packages "")
set(_seen "")
while(_imports)
  set(_files "")
  string(JSON _count LENGTH "${_imports}")
  math(EXPR _last "${_count} - 1")
  foreach(_i RANGE ${_last})
    string(JSON _type ERROR_VARIABLE _none GET "${_imports}" ${_i} type)
    string(JSON _name ERROR_VARIABLE _none GET "${_imports}" ${_i} name)
    if(NOT _type STREQUAL "module" OR _name IN_LIST CPACK_TESSARIN_OWN_MODULES OR _name IN_LIST _seen)
      continue()
    endif()
    list(APPEND _seen "${_name}")
    string(JSON _path ERROR_VARIABLE _nopath GET "${_imports}" ${_i} path)
    if(_nopath OR NOT EXISTS "${_path}/qmldir")
      # Controls' qmldir names every style as an optional import; those of other platforms exist nowhere
      # here. A module that we import ourselves and that is missing fails the build long before this.
      message(STATUS "QML module ${_name} is not installed here; the package does not ask for it")
      continue()
    endif()
    execute_process(COMMAND dpkg-query -S "${_path}/qmldir"
      OUTPUT_VARIABLE _owner RESULT_VARIABLE _status ERROR_QUIET)
    if(NOT _status EQUAL 0)
      message(FATAL_ERROR "No Debian package owns ${_path}/qmldir (QML module ${_name})")
    endif()
    # "qml6-module-qtquick-controls:amd64: /usr/lib/…/qmldir"
    string(REGEX REPLACE "[:,].*" "" _owner "${_owner}")
    list(APPEND _packages "${_owner}")
    # Its QML types ("FileDialog 6.0 qml/+Fusion/FileDialog.qml"), and those of the implementation its
    # plugin loads without an import (QtQuick/Dialogs/quickimpl).
    file(GLOB _qmldirs "${_path}/qmldir" "${_path}/*impl/qmldir")
    foreach(_qmldir IN LISTS _qmldirs)
      get_filename_component(_dir "${_qmldir}" DIRECTORY)
      file(STRINGS "${_qmldir}" _types REGEX "^[A-Z][A-Za-z0-9_]* [0-9.]+ [^ ]+\\.qml$")
      foreach(_type IN LISTS _types)
        string(REGEX REPLACE ".* " "" _file "${_type}")
        list(APPEND _files "${_dir}/${_file}")
      endforeach()
    endforeach()
  endforeach()
  set(_imports "")
  if(_files)
    tessarin_scan(_imports -qmlFiles ${_files})
  endif()
endwhile()
list(REMOVE_DUPLICATES _packages)
list(SORT _packages)
if(NOT _packages)
  message(FATAL_ERROR "qmlimportscanner found no QML module in ${CPACK_TESSARIN_QML_ROOT}")
endif()

list(JOIN _packages ", " _qml_depends)
if(CPACK_DEBIAN_PACKAGE_DEPENDS)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ")
endif()
string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS "${_qml_depends}")
message(STATUS "QML modules come from: ${_qml_depends}")
