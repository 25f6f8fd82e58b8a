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
# The window icon: the sizes a window manager shows (kWindowIconSizes), compiled in from
# the resource list icon-gen writes beside them, so that the start-up does not open a CJK
# face only to draw one character. The 256-pixel picture is left to the desktop's menu
# entry: decoded at every start it would hold 256 KiB for a task switcher that rarely
# shows more than 128 pixels.
set(ICON_QRC ${CMAKE_BINARY_DIR}/generated/app_icon.qrc)
add_custom_command(
    OUTPUT ${ICON_STAMP}
    BYPRODUCTS ${ICON_QRC}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            FONTCONFIG_FILE=${LYREVANE_APP_DIR}/fonts.conf
            $<TARGET_FILE:icon-gen> ${LYREVANE_APP_DIR}/icons ${ICON_QRC}
    COMMAND ${CMAKE_COMMAND} -E touch ${ICON_STAMP}
    DEPENDS icon-gen
    COMMENT "Drawing the program's icon"
    VERBATIM
)
add_custom_target(app_icons ALL DEPENDS ${ICON_STAMP})
set(ICON_RCC_CPP ${CMAKE_BINARY_DIR}/generated/app_icon_rc.cpp)
add_custom_command(
    OUTPUT ${ICON_RCC_CPP}
    COMMAND Qt6::rcc --name app_icon --output ${ICON_RCC_CPP} ${ICON_QRC}
    DEPENDS ${ICON_STAMP}
    COMMENT "Compiling in the window icon"
    VERBATIM
)
target_sources(lyrevane PRIVATE ${ICON_RCC_CPP})
# The tool bar's glyph buttons, drawn here and compiled into the window library.
set(GLYPH_DIR ${CMAKE_BINARY_DIR}/generated/glyph_icons)
set(GLYPH_STAMP ${GLYPH_DIR}/glyphs.stamp)
add_custom_command(
    OUTPUT ${GLYPH_STAMP}
    BYPRODUCTS ${GLYPH_DIR}/glyph_icons.qrc
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            FONTCONFIG_FILE=${LYREVANE_APP_DIR}/fonts.conf
            $<TARGET_FILE:glyph-icons-gen> ${GLYPH_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${GLYPH_STAMP}
    DEPENDS glyph-icons-gen
    COMMENT "Drawing the tool bar's glyph buttons"
    VERBATIM
)
set(GLYPH_RCC_CPP ${CMAKE_BINARY_DIR}/generated/glyph_icons_rc.cpp)
add_custom_command(
    OUTPUT ${GLYPH_RCC_CPP}
    COMMAND Qt6::rcc --name glyph_icons --output ${GLYPH_RCC_CPP} ${GLYPH_DIR}/glyph_icons.qrc
    DEPENDS ${GLYPH_STAMP}
    COMMENT "Compiling in the glyph buttons"
    VERBATIM
)
target_sources(lyrevane_gui PRIVATE ${GLYPH_RCC_CPP})
configure_file(${PROJECT_SOURCE_DIR}/packaging/lyrevane.desktop
               ${LYREVANE_APP_DIR}/lyrevane.desktop COPYONLY)
