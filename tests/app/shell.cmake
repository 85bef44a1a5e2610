zf_add_gtest(test_shell
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_test.cpp
  LIBS zf_app zf_testsupport_db)
zf_add_qtest(test_startup
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/startup_test.cpp ${CMAKE_CURRENT_LIST_DIR}/apprun.h
  LIBS zf_app_ui)
add_dependencies(test_startup zf_schema_scripts zf_tip_file)
zf_add_qtest(test_mainwindow
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mainwindow_test.cpp
  LIBS zf_app_ui)
add_dependencies(test_mainwindow zf_schema_scripts zf_manual_pdf zf_tip_file)
