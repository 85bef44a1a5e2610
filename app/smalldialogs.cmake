# The small dialogs: tip-of-the-day logic, the message windows, the tip window, the scratch pad,
# the About window and the Qt side of the dialogs interface.
set(_zf_dir ${CMAKE_CURRENT_LIST_DIR})

target_sources(zf_app PRIVATE
  ${_zf_dir}/tips.cpp ${_zf_dir}/tips.h)

target_sources(zf_app_ui PRIVATE
  ${_zf_dir}/about.cpp ${_zf_dir}/about.h
  ${_zf_dir}/centre.cpp ${_zf_dir}/centre.h
  ${_zf_dir}/fiszka.cpp ${_zf_dir}/fiszka.h
  ${_zf_dir}/infoform.cpp ${_zf_dir}/infoform.h
  ${_zf_dir}/poradadnia.cpp ${_zf_dir}/poradadnia.h
  ${_zf_dir}/promptform.cpp ${_zf_dir}/promptform.h
  ${_zf_dir}/qtdialogs.cpp ${_zf_dir}/qtdialogs.h
  ${_zf_dir}/questionform.cpp ${_zf_dir}/questionform.h)

# The tips are kept as UTF-8 in the sources and shipped as Windows-1250 in data/porady.dat.
add_executable(zf_porady_tool ${_zf_dir}/porady_tool.cpp)
set_target_properties(zf_porady_tool PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
target_link_libraries(zf_porady_tool PRIVATE zf_util Qt6::Core zf_common)

set(ZF_TIP_FILE ${ZF_BIN_DIR}/data/porady.dat)
add_custom_command(
  OUTPUT ${ZF_TIP_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZF_BIN_DIR}/data
  COMMAND zf_porady_tool ${_zf_dir}/porady.txt ${ZF_TIP_FILE}
  DEPENDS zf_porady_tool ${_zf_dir}/porady.txt
  COMMENT "Converting the tips to Windows-1250"
  VERBATIM)
add_custom_target(zf_tip_file ALL DEPENDS ${ZF_TIP_FILE})
unset(_zf_dir)
