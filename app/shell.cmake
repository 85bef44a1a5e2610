# The application shell: options, single copy, login, main window, start-up.
target_sources(zf_app PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/gridsearch.cpp ${CMAKE_CURRENT_LIST_DIR}/gridsearch.h
  ${CMAKE_CURRENT_LIST_DIR}/login.cpp ${CMAKE_CURRENT_LIST_DIR}/login.h
  ${CMAKE_CURRENT_LIST_DIR}/programoptions.h
  ${CMAKE_CURRENT_LIST_DIR}/reminders.cpp ${CMAKE_CURRENT_LIST_DIR}/reminders.h
  ${CMAKE_CURRENT_LIST_DIR}/singleinstance.cpp ${CMAKE_CURRENT_LIST_DIR}/singleinstance.h
  ${CMAKE_CURRENT_LIST_DIR}/toolslots.cpp ${CMAKE_CURRENT_LIST_DIR}/toolslots.h
)
target_sources(zf_app_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/application.cpp ${CMAKE_CURRENT_LIST_DIR}/application.h
  ${CMAKE_CURRENT_LIST_DIR}/finddialog.cpp ${CMAKE_CURRENT_LIST_DIR}/finddialog.h
  ${CMAKE_CURRENT_LIST_DIR}/hints.cpp ${CMAKE_CURRENT_LIST_DIR}/hints.h
  ${CMAKE_CURRENT_LIST_DIR}/loginwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/loginwindow.h
  ${CMAKE_CURRENT_LIST_DIR}/maincommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/mainwindow.h
  ${CMAKE_CURRENT_LIST_DIR}/reportspage.cpp ${CMAKE_CURRENT_LIST_DIR}/reportspage.h
  ${CMAKE_CURRENT_LIST_DIR}/termination.cpp ${CMAKE_CURRENT_LIST_DIR}/termination.h
)

# The program itself.
add_executable(zefirant ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(zefirant PRIVATE zf_app_ui zf_common)
