# The gazetteer and its search, in the library and in gyrena-route.
gyrena_test(gazetteer LIBS gyrena_io)
target_compile_definitions(tst_gazetteer PRIVATE GYRENA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
if(TARGET gyrena-route)
  gyrena_test(placetool LIBS Qt6::Core)
  target_compile_definitions(tst_placetool PRIVATE GYRENA_ROUTE_TOOL="$<TARGET_FILE:gyrena-route>")
  add_dependencies(tst_placetool gyrena-route)
endif()
gyrena_test(findplace LIBS gyrena_ui)
