# What leaves the program for other systems: RTZ and KML.
if(NOT TEST schemas)
  # The XML schemas that written files are checked against, fetched once (scripts/schemas.sh).
  add_test(NAME schemas COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/schemas.sh ${CMAKE_BINARY_DIR}/schemas)
  set_tests_properties(schemas PROPERTIES FIXTURES_SETUP schemas TIMEOUT 300)
endif()
find_package(pugixml REQUIRED)
gyrena_test(planexport LIBS gyrena_io pugixml::pugixml)
target_compile_definitions(tst_planexport PRIVATE GYRENA_SCHEMA_DIR="${CMAKE_BINARY_DIR}/schemas")
set_tests_properties(tst_planexport PROPERTIES FIXTURES_REQUIRED schemas)
# The route window's Print…, Export PDF…, Export RTZ… and Export KML….
gyrena_test(plandocument LIBS gyrena_ui)
