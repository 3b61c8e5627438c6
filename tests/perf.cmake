# Reliability: the GUI monkey on the real main window, and saves that meet faults on disk.
if(GYRENA_BUILD_UI)
  gyrena_test(monkey LIBS gyrena_ui)
  target_compile_definitions(tst_monkey PRIVATE
    GYRENA_MONKEY_REGRESSIONS="${CMAKE_CURRENT_SOURCE_DIR}/monkey-regressions/seeds.txt")
  gyrena_test(diskfaults LIBS gyrena_ui)
endif()
