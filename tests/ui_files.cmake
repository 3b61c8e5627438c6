# The main window's file commands: data files, city lists and the city picks.
if(GYRENA_BUILD_UI)
  gyrena_test(filecommands LIBS gyrena_ui GERMAN)
  target_compile_definitions(tst_filecommands PRIVATE GYRENA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  # The program's command line (a file to open, or the usage line).
  gyrena_test(commandline LIBS Qt6::Core)
  target_compile_definitions(tst_commandline PRIVATE GYRENA_PROGRAM="$<TARGET_FILE:gyrena>")
  add_dependencies(tst_commandline gyrena)
endif()
