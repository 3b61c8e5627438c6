# The information windows: About with its registry read, and the worked example.
gyrena_test(getkeyvalue LIBS gyrena_ui)
gyrena_test(aboutwindow LIBS gyrena_ui)
target_compile_definitions(tst_aboutwindow PRIVATE GYRENA_EXPECTED_VERSION="${PROJECT_VERSION}")
gyrena_test(mathwindow LIBS gyrena_ui)
