# Grid column storage, CSV writing and mail (logic), and the data grid (window).
zf_add_gtest(test_gridtools
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/gridstorage_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/csvexport_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/mail_test.cpp
  LIBS zf_util)

