# tarnwick-classify: tries the user's rules on saved mail.
if(TARGET tarnwick_rules)
  add_executable(tarnwick-classify ${CMAKE_CURRENT_LIST_DIR}/classify.cpp
    ${CMAKE_CURRENT_LIST_DIR}/classifycore.cpp ${CMAKE_CURRENT_LIST_DIR}/classifycore.h)
  target_link_libraries(tarnwick-classify PRIVATE tarnwick_rules)
  target_compile_definitions(tarnwick-classify PRIVATE TARNWICK_VERSION="${PROJECT_VERSION}")
endif()
