# The navigator's almanac: the magnetic model, the Sun, zone and local times, checked against
# NOAA's test values, GeographicLib, the npm packages, python3-ephem and `date`.
gyrena_test(almanac LIBS gyrena_io NPM)
target_compile_definitions(tst_almanac PRIVATE GYRENA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
if(TARGET gyrena-route)
  gyrena_test(almanactool LIBS gyrena_io GERMAN)
  target_compile_definitions(tst_almanactool PRIVATE
    GYRENA_ROUTE_TOOL="$<TARGET_FILE:gyrena-route>")
  add_dependencies(tst_almanactool gyrena-route)
endif()
