# The model poems: layout, attributions, and the quotations checked against the
# chinese-poetry dataset (skipped where it is not installed). Tang shi are
# compared after OpenCC's traditional-to-simplified conversion.
find_package(nlohmann_json 3 REQUIRED)
find_path(LYREVANE_OPENCC_INCLUDE opencc/opencc.h REQUIRED)
find_library(LYREVANE_OPENCC_LIBRARY opencc REQUIRED)

lyrevane_test(test_examples ${CMAKE_CURRENT_LIST_DIR}/test_examples.cpp
    LIBS lyrevane_core nlohmann_json::nlohmann_json ${LYREVANE_OPENCC_LIBRARY})
target_include_directories(test_examples PRIVATE ${LYREVANE_OPENCC_INCLUDE})
