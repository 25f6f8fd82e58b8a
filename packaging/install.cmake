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
# The program's icon in the desktop's sizes and its menu entry; scripts/install-app puts
# them where the desktop looks.
add_subdirectory(${PROJECT_SOURCE_DIR}/tools/icon ${CMAKE_BINARY_DIR}/tools/icon)
set(ICON_STAMP ${CMAKE_BINARY_DIR}/generated/icons.stamp)
add_custom_command(
    OUTPUT ${ICON_STAMP}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            FONTCONFIG_FILE=${LYREVANE_APP_DIR}/fonts.conf
            $<TARGET_FILE:icon-gen> ${LYREVANE_APP_DIR}/icons
    COMMAND ${CMAKE_COMMAND} -E touch ${ICON_STAMP}
    DEPENDS icon-gen
    COMMENT "Drawing the program's icon"
    VERBATIM
)
add_custom_target(app_icons ALL DEPENDS ${ICON_STAMP})
configure_file(${PROJECT_SOURCE_DIR}/packaging/lyrevane.desktop
               ${LYREVANE_APP_DIR}/lyrevane.desktop COPYONLY)
