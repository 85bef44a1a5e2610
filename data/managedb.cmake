# Database management: its logic joins the database module, its window the window library.
target_sources(zf_data PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/managedb.cpp ${CMAKE_CURRENT_LIST_DIR}/managedb.h)

find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_library(zf_data_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/managedbwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/managedbwindow.h)
target_include_directories(zf_data_ui PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(zf_data_ui PUBLIC zf_data Qt6::Widgets zf_common)
