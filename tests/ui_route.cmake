# The route window's map.
gyrena_test(mapview LIBS gyrena_ui)
# The route window, its waypoint table and Options > "Route Map".
gyrena_test(routewindow LIBS gyrena_ui)
