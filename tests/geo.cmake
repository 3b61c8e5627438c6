# The geometry core: leading-number rule, location updates, number patterns, the computation,
# and the command-line route tool built on them.
gyrena_test(leadingnumber LIBS gyrena_geo)
gyrena_test(location LIBS gyrena_geo)
gyrena_test(numberformat LIBS gyrena_geo)
gyrena_test(calcs LIBS gyrena_io)
gyrena_test(mapprojection LIBS gyrena_geo)
gyrena_test(routeplan LIBS gyrena_geo)
if(TARGET gyrena-route)
  gyrena_test(routetool LIBS gyrena_geo GERMAN)
  target_compile_definitions(tst_routetool PRIVATE
    GYRENA_ROUTE_TOOL="$<TARGET_FILE:gyrena-route>")
  add_dependencies(tst_routetool gyrena-route)
endif()
if(TARGET gyrena-route)
  gyrena_test(routetoolplan LIBS gyrena_geo SCHEMAS GERMAN)
  target_compile_definitions(tst_routetoolplan PRIVATE
    GYRENA_ROUTE_TOOL="$<TARGET_FILE:gyrena-route>")
  add_dependencies(tst_routetoolplan gyrena-route)
endif()
gyrena_test(routeview LIBS gyrena_geo)
gyrena_test(voyage LIBS gyrena_geo)
# The land check on Natural Earth's 1:10m land (the asset is read by the suite itself).
gyrena_test(landcheck LIBS gyrena_io)
if(TARGET gyrena-route)
  gyrena_test(landtool LIBS gyrena_geo GERMAN)
  target_compile_definitions(tst_landtool PRIVATE GYRENA_ROUTE_TOOL="$<TARGET_FILE:gyrena-route>")
  add_dependencies(tst_landtool gyrena-route)
endif()
gyrena_test(voyageedit LIBS gyrena_geo)
gyrena_test(searoute LIBS gyrena_io)
target_compile_definitions(tst_searoute PRIVATE
  GYRENA_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
