# The main window's file commands: data files, city lists and the city picks.
gyrena_test(filecommands LIBS gyrena_ui)
target_compile_definitions(tst_filecommands PRIVATE GYRENA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
