# The app folder in the build tree: the executable with its read-only data tree.
# scripts/install-app copies it to the user's app folder and seeds the user's files
# only where they are missing.
set(LYREVANE_APP_DIR ${CMAKE_BINARY_DIR}/app)
set_target_properties(lyrevane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${LYREVANE_APP_DIR})
configure_file(${PROJECT_SOURCE_DIR}/packaging/fonts.conf ${LYREVANE_APP_DIR}/fonts.conf COPYONLY)
# The knowledge list is read at every start; its topics come with the reference texts.
if(NOT EXISTS ${LYREVANE_APP_DIR}/Excursus/changshi/list.dat)
    file(WRITE ${LYREVANE_APP_DIR}/Excursus/changshi/list.dat "")
endif()
