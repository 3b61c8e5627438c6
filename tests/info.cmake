# The registry read of the About window, then the information windows: About and the worked example.
if(GYRENA_BUILD_UI)
  gyrena_test(getkeyvalue LIBS gyrena_platform)
  gyrena_test(aboutwindow LIBS gyrena_ui)
  target_compile_definitions(tst_aboutwindow PRIVATE GYRENA_EXPECTED_VERSION="${PROJECT_VERSION}")
  gyrena_test(mathwindow LIBS gyrena_ui)
endif()
