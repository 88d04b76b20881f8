# The floors of src/app. A folder may include its own headers and those of folders on
# lower floors, never those of its own floor or above; the widget-free folders include
# no Qt Widgets header, neither directly nor through a header of another folder, and
# the widget-free files elsewhere none through anything they include. The
# command bus is made in the composition root alone and handed round from there: no
# other file makes one, and none reaches one through a global accessor.
#   cmake -DSOURCE_DIR=<repository> -DWIDGETS_HEADERS=<folder of the QtWidgets headers> -P check_floors.cmake
# (ctest runs it as app_floors.)
cmake_minimum_required(VERSION 3.20)

# Lowest first.
set(floors
  "kit"              # the widget kit, desktop services, the log categories
  "commands"         # the command bus
  "protection"       # clipboard guard, capture, screenshot watch, notifications
  "review"           # the review and the flows that feed it
  "help"             # help centre and onboarding
  "panes settings"   # the main window's panes; the settings window
  "window"           # the main window, its menus and actions
  "shell")           # start-up: the application, the tray, the platform chosen at start
set(widget_free commands protection review)
# Files held to no Qt Widgets, with all they include, in a folder that may use them
# (paths below src/app): the window session outlives every widget of its window.
set(widget_free_files window/window_session.h)
# The one place that makes the command bus (paths below src/).
set(composition_root app/shell/velmora_app.h app/shell/velmora_app.cpp main.cpp)

set(app_dir "${SOURCE_DIR}/src/app")
file(GLOB widget_headers RELATIVE "${WIDGETS_HEADERS}" "${WIDGETS_HEADERS}/Q*")
if(NOT widget_headers)
  message(FATAL_ERROR "No Qt Widgets headers in '${WIDGETS_HEADERS}'")
endif()

set(floor 0)
foreach(level IN LISTS floors)
  string(REPLACE " " ";" folders "${level}")
  foreach(folder IN LISTS folders)
    set(floor_of_${folder} ${floor})
  endforeach()
  math(EXPR floor "${floor} + 1")
endforeach()

# The app headers (as "folder/name.h") and Qt Widgets headers that `file` includes.
function(read_includes file out_app out_widgets)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
  set(app "")
  set(widgets "")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*\"app/([^\"]+)\"")
      list(APPEND app "${CMAKE_MATCH_1}")
    elseif(line MATCHES "#[ \t]*include[ \t]*<(QtWidgets/)?([A-Za-z]+)>")
      if(CMAKE_MATCH_1 OR CMAKE_MATCH_2 IN_LIST widget_headers OR CMAKE_MATCH_2 STREQUAL "QtWidgets")
        list(APPEND widgets "${CMAKE_MATCH_2}")
      endif()
    endif()
  endforeach()
  set(${out_app} "${app}" PARENT_SCOPE)
  set(${out_widgets} "${widgets}" PARENT_SCOPE)
endfunction()

# The first Qt Widgets header that the app header `header` reaches, through its own
# includes and those of its source file and theirs, or nothing.
function(widgets_reached header out)
  set(seen "")
  set(pending "${header}")
  while(pending)
    list(POP_FRONT pending current)
    if(current IN_LIST seen OR NOT EXISTS "${app_dir}/${current}")
      continue()
    endif()
    list(APPEND seen "${current}")
    read_includes("${app_dir}/${current}" app widgets)
    if(widgets)
      list(GET widgets 0 first)
      set(${out} "<${first}> through ${current}" PARENT_SCOPE)
      return()
    endif()
    string(REGEX REPLACE "\\.h$" ".cpp" source "${current}")
    list(APPEND pending ${app} "${source}")
  endwhile()
  set(${out} "" PARENT_SCOPE)
endfunction()

set(violations "")
file(GLOB_RECURSE sources RELATIVE "${app_dir}" "${app_dir}/*.h" "${app_dir}/*.cpp")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder "${source}")
  if(NOT DEFINED floor_of_${folder})
    list(APPEND violations "src/app/${folder} is on no floor: add it to the table in check_floors.cmake")
    continue()
  endif()
  read_includes("${app_dir}/${source}" app widgets)
  foreach(included IN LISTS app)
    string(REGEX MATCH "^[^/]+" target "${included}")
    if(target STREQUAL folder)
      continue()
    endif()
    if(NOT DEFINED floor_of_${target} OR NOT floor_of_${target} LESS floor_of_${folder})
      list(APPEND violations "src/app/${source} includes app/${included}, on the floor of ${folder} or above")
    endif()
  endforeach()
  if(folder IN_LIST widget_free)
    foreach(widget IN LISTS widgets)
      list(APPEND violations "src/app/${source} includes <${widget}>, but ${folder} is widget-free")
    endforeach()
    foreach(included IN LISTS app)
      string(REGEX MATCH "^[^/]+" target "${included}")
      if(target IN_LIST widget_free)
        continue() # checked as a file of its own
      endif()
      widgets_reached("${included}" reached)
      if(reached)
        list(APPEND violations "src/app/${source} includes app/${included}, which reaches ${reached}")
      endif()
    endforeach()
  endif()
endforeach()

foreach(file IN LISTS widget_free_files)
  widgets_reached("${file}" reached)
  if(reached)
    list(APPEND violations "src/app/${file} is widget-free, but reaches ${reached}")
  endif()
endforeach()

# A bus made anywhere else, or reached through a global accessor, splits the app-wide
# commands between two buses or hides who may post them.
file(GLOB_RECURSE all_sources RELATIVE "${SOURCE_DIR}/src" "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp")
foreach(source IN LISTS all_sources)
  file(STRINGS "${SOURCE_DIR}/src/${source}" lines REGEX "CommandBus")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "//.*" "" code "${line}")
    string(STRIP "${code}" code)
    if(code MATCHES "CommandBus[ \t]*::[ \t]*instance|static[ \t]+CommandBus[ \t]*&?[ \t]*[A-Za-z_]")
      list(APPEND violations "src/${source} reaches the command bus through a global: ${code}")
    elseif(NOT source IN_LIST composition_root
           AND (code MATCHES "(^|[^A-Za-z_:&*<])CommandBus[ \t]+[A-Za-z_]" AND NOT code MATCHES "^class[ \t]+CommandBus"
                OR code MATCHES "new[ \t]+CommandBus|(make_unique|make_shared|unique_ptr|shared_ptr|optional)<CommandBus>"))
      list(APPEND violations "src/${source} makes a command bus outside the composition root: ${code}")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "The floors of src/app are broken:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "${count} files of src/app keep to their floors")
