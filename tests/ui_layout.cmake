# The main window's design: controls, menus, colours, tab order and accessible names.
gyrena_test(startwindowlayout LIBS gyrena_ui)
