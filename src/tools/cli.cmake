# tarnwick-cli: checks and cleans mailboxes without a window (cron, servers), sets up the
# mailboxes, keeps the rule lists, and classifies saved mail like tarnwick-classify.
if(TARGET tarnwick_app)
  add_executable(tarnwick-cli ${CMAKE_CURRENT_LIST_DIR}/cli.cpp
    ${CMAKE_CURRENT_LIST_DIR}/climailbox.cpp ${CMAKE_CURRENT_LIST_DIR}/clirules.cpp ${CMAKE_CURRENT_LIST_DIR}/clitool.h
    ${CMAKE_CURRENT_LIST_DIR}/classifycore.cpp ${CMAKE_CURRENT_LIST_DIR}/classifycore.h)
  target_link_libraries(tarnwick-cli PRIVATE tarnwick_app)
  target_compile_definitions(tarnwick-cli PRIVATE TARNWICK_VERSION="${PROJECT_VERSION}")
endif()
