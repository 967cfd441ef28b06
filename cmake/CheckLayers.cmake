# The folders of the program from the bottom up. A folder's sources may
# include headers of its own folder and of the folders before it in the list,
# never of one after it: no upward include, so no cycle between folders.
# Run at configure time (so by every build, and by CI); any breach stops it.
set(VARDELLA_LAYERS
  framework/xml
  framework/data
  database
  framework
  export
  suite
  shell
  fees
  banking
  billing
  accounts
  reports
  export/wizard
  budget
  tools
  app)
# Subfolders compiled into a folder's library belong to its layer.
set(VARDELLA_LAYER_PARTS_framework framework/report)

function(vardella_check_layers root)
  # Which folder owns each header.
  set(_owners)
  foreach(layer ${VARDELLA_LAYERS})
    set(_dirs ${layer} ${VARDELLA_LAYER_PARTS_${layer}})
    foreach(dir ${_dirs})
      file(GLOB _headers RELATIVE ${root}/${dir} ${root}/${dir}/*.h)
      foreach(h ${_headers})
        set(_owner_${h} ${layer})
      endforeach()
    endforeach()
  endforeach()
  set(_breaches)
  set(_index 0)
  foreach(layer ${VARDELLA_LAYERS})
    set(_files)
    foreach(dir ${layer} ${VARDELLA_LAYER_PARTS_${layer}})
      file(GLOB _part ${root}/${dir}/*.h ${root}/${dir}/*.cpp)
      list(APPEND _files ${_part})
    endforeach()
    foreach(f ${_files})
      file(STRINGS ${f} _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
      foreach(line ${_includes})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" h "${line}")
        get_filename_component(h ${h} NAME)
        if(DEFINED _owner_${h})
          set(owner ${_owner_${h}})
          list(FIND VARDELLA_LAYERS ${owner} _owner_index)
          if(_owner_index GREATER _index)
            file(RELATIVE_PATH _rel ${root} ${f})
            list(APPEND _breaches "${_rel} includes ${owner}/${h}")
          endif()
        endif()
      endforeach()
    endforeach()
    math(EXPR _index "${_index} + 1")
  endforeach()
  if(_breaches)
    list(JOIN _breaches "\n  " _text)
    message(FATAL_ERROR "Include upward between folders (see cmake/CheckLayers.cmake):\n  ${_text}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  # cmake -P cmake/CheckLayers.cmake [-DROOT=...]
  if(NOT ROOT)
    get_filename_component(ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
  endif()
  vardella_check_layers(${ROOT})
  message(STATUS "Layers: no upward include")
endif()
