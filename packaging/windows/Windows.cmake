# The Windows build: icon, version and manifest in each executable, programs linked
# without the compiler's run-time DLLs. scripts/package-windows makes the installer.
find_program(K5X7_RSVG rsvg-convert REQUIRED)
find_program(K5X7_MAGICK convert REQUIRED)
set(K5X7_ICON ${CMAKE_BINARY_DIR}/k5x7.ico)
set(icon_pngs)
foreach(size 16 32 48 256)
  list(APPEND icon_pngs ${CMAKE_BINARY_DIR}/icon-${size}.png)
endforeach()
add_custom_command(OUTPUT ${K5X7_ICON}
  COMMAND ${K5X7_RSVG} -w 16 -h 16 ${CMAKE_CURRENT_LIST_DIR}/../k5x7.svg -o ${CMAKE_BINARY_DIR}/icon-16.png
  COMMAND ${K5X7_RSVG} -w 32 -h 32 ${CMAKE_CURRENT_LIST_DIR}/../k5x7.svg -o ${CMAKE_BINARY_DIR}/icon-32.png
  COMMAND ${K5X7_RSVG} -w 48 -h 48 ${CMAKE_CURRENT_LIST_DIR}/../k5x7.svg -o ${CMAKE_BINARY_DIR}/icon-48.png
  COMMAND ${K5X7_RSVG} -w 256 -h 256 ${CMAKE_CURRENT_LIST_DIR}/../k5x7.svg -o ${CMAKE_BINARY_DIR}/icon-256.png
  COMMAND ${K5X7_MAGICK} ${icon_pngs} ${K5X7_ICON}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/../k5x7.svg
  VERBATIM)
add_custom_target(k5x7_icon DEPENDS ${K5X7_ICON})

set(K5X7_VERSION4 ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0)

# What this build leaves out, named in the programs' file properties.
get_property(left_out GLOBAL PROPERTY K5X7_LEFT_OUT)
if(left_out)
  list(JOIN left_out "、" left_out)
  set(K5X7_RC_COMMENTS "この版にないもの: ${left_out}")
else()
  set(K5X7_RC_COMMENTS "")
endif()

# k5x7_windows_resources(target description): the icon, version and manifest.
function(k5x7_windows_resources target description)
  set(K5X7_RC_NAME ${target})
  get_target_property(output ${target} OUTPUT_NAME)
  if(output)
    set(K5X7_RC_NAME ${output})
  endif()
  set(K5X7_RC_DESCRIPTION ${description})
  set(K5X7_MANIFEST ${CMAKE_BINARY_DIR}/${K5X7_RC_NAME}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/k5x7.manifest.in ${K5X7_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/k5x7.rc.in
    ${CMAKE_BINARY_DIR}/${K5X7_RC_NAME}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/${K5X7_RC_NAME}.rc)
  add_dependencies(${target} k5x7_icon)
  set_source_files_properties(${CMAKE_BINARY_DIR}/${K5X7_RC_NAME}.rc PROPERTIES
    OBJECT_DEPENDS "${K5X7_ICON};${K5X7_MANIFEST}")
endfunction()

set_target_properties(k5x7 PROPERTIES WIN32_EXECUTABLE ON)
k5x7_windows_resources(k5x7 "図面管理")
k5x7_windows_resources(k5x7_admin "図面管理 管理ツール")

install(TARGETS k5x7 k5x7_admin RUNTIME DESTINATION .)
