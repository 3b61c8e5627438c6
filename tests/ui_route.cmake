# The route window's map.
if(GYRENA_BUILD_UI)
  gyrena_test(mapview LIBS gyrena_ui)
  # The route window, its waypoint table and Options > "Route Map".
  gyrena_test(routewindow LIBS gyrena_ui SCHEMAS GERMAN)
  gyrena_test(voyagewindow LIBS gyrena_ui)
endif()
