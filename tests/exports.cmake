# What leaves the program for other systems: RTZ and KML.
find_package(pugixml REQUIRED CONFIG)
gyrena_test(planexport LIBS gyrena_io pugixml::static SCHEMAS GERMAN)
if(GYRENA_BUILD_UI)
  # The route window's Print…, Export PDF…, Export RTZ… and Export KML….
  gyrena_test(plandocument LIBS gyrena_ui GERMAN)
endif()
