# Personnel records and dictionaries: the logic on a real embedded database, and the windows
# offscreen.
zf_add_gtest(test_personnel_records
  SOURCES records_test.cpp dictionaries_test.cpp
  LIBS zf_personnel zf_testsupport_db)

find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
zf_add_qtest(test_personnel_windows
  SOURCES records_window_test.cpp
  LIBS zf_personnel_ui)
add_dependencies(test_personnel_windows zf_schema_scripts)
