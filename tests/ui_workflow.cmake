# The main window's start-up and input workflow, and the real message boxes and file dialogs.
if(GYRENA_BUILD_UI)
  gyrena_test(workflow LIBS gyrena_ui)
  gyrena_test(dialogs LIBS gyrena_platform)
endif()
