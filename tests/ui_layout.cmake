# The main window's design: controls, menus, colours, tab order and accessible names.
if(GYRENA_BUILD_UI)
  gyrena_test(startwindowlayout LIBS gyrena_ui)
endif()
