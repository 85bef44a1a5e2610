# Personnel records and the dictionaries: the logic (QtCore) ...
target_sources(zf_personnel PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/records.cpp ${CMAKE_CURRENT_SOURCE_DIR}/records.h
  ${CMAKE_CURRENT_SOURCE_DIR}/dictionaries.cpp ${CMAKE_CURRENT_SOURCE_DIR}/dictionaries.h)

# ... and the windows: the card, the dictionary window and its edit window.
if(NOT TARGET zf_personnel_ui)
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  add_library(zf_personnel_ui STATIC)
  target_include_directories(zf_personnel_ui PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(zf_personnel_ui PUBLIC zf_personnel zf_data_ui Qt6::Widgets zf_common)
endif()
target_sources(zf_personnel_ui PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/cp1250validator.cpp ${CMAKE_CURRENT_SOURCE_DIR}/cp1250validator.h
  ${CMAKE_CURRENT_SOURCE_DIR}/osobowa.cpp ${CMAKE_CURRENT_SOURCE_DIR}/osobowa.h
  ${CMAKE_CURRENT_SOURCE_DIR}/biblioteka.cpp ${CMAKE_CURRENT_SOURCE_DIR}/biblioteka.h
  ${CMAKE_CURRENT_SOURCE_DIR}/personnel.cpp ${CMAKE_CURRENT_SOURCE_DIR}/personnel.h)
