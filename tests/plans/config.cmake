# Plan configuration and entitlements: the logic on a real embedded database, the windows
# offscreen.
zf_add_gtest(test_plans_config SOURCES planconfig_test.cpp LIBS zf_plans zf_testsupport_db)
zf_add_qtest(test_plans_config_windows SOURCES planconfig_window_test.cpp LIBS zf_plans_ui)
add_dependencies(test_plans_config_windows zf_schema_scripts)
