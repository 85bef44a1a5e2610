# Program options and users' passwords: the logic against a real embedded database, and the
# window offscreen.
zf_add_gtest(test_options
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/options_test.cpp
  LIBS zf_app zf_testsupport_db)
zf_add_qtest(test_optionswindow
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/optionswindow_test.cpp
  LIBS zf_app_ui zf_data)
add_dependencies(test_optionswindow zf_schema_scripts)
