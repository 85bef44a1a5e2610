# Add-on tools: installing from ".ppi" descriptions and running tool slots.
zf_add_gtest(test_addons
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/addons_test.cpp
  LIBS zf_app)
