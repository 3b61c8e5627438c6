# The route window's map.
gyrena_test(mapview LIBS gyrena_ui)
