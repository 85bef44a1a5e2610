# The employee import: its logic on real embedded databases, and its window offscreen.
zf_add_gtest(test_import SOURCES import_test.cpp LIBS zf_personnel zf_testsupport_db)
zf_add_qtest(test_import_window SOURCES importwindow_test.cpp LIBS zf_personnel_ui)
add_dependencies(test_import_window zf_schema_scripts)
