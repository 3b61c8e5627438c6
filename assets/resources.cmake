# The windows' pictures, compiled into gyrena_ui. Included from ui/CMakeLists.txt.
set(_gyrena_assets ${PROJECT_SOURCE_DIR}/assets)
set_source_files_properties(${_gyrena_assets}/icons/gyrena-32.png PROPERTIES QT_RESOURCE_ALIAS icon-32.png)
set_source_files_properties(${_gyrena_assets}/icons/gyrena.svg PROPERTIES QT_RESOURCE_ALIAS icon.svg)
qt_add_resources(gyrena_ui "gyrena_assets"
  PREFIX "/gyrena"
  BASE ${_gyrena_assets}
  FILES
    ${_gyrena_assets}/icons/gyrena-32.png
    ${_gyrena_assets}/icons/gyrena.svg
    ${_gyrena_assets}/math-example.png)

# The coastlines of the route map (1:50m, and 1:10m for close views), stored uncompressed so they
# are read in place, and only when a map first needs them.
qt_add_resources(gyrena_ui "gyrena_coastlines"
  PREFIX "/gyrena"
  BASE ${_gyrena_assets}
  OPTIONS --no-compress
  FILES ${_gyrena_assets}/coastlines/land-50m.bin ${_gyrena_assets}/coastlines/land-10m.bin)

# The program that draws them; assets/render.sh runs it when a drawing changes.
add_subdirectory(${PROJECT_SOURCE_DIR}/tools/render-pictures ${CMAKE_BINARY_DIR}/tools/render-pictures)
