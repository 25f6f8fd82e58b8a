# The model poems: layout, attributions, and the quotations checked against the
# chinese-poetry dataset (skipped where it is not installed). Tang shi are
# compared after OpenCC's traditional-to-simplified conversion.
find_package(nlohmann_json 3 REQUIRED)
find_path(LYREVANE_OPENCC_INCLUDE opencc/opencc.h REQUIRED)
find_library(LYREVANE_OPENCC_LIBRARY opencc REQUIRED)

lyrevane_test(test_examples ${CMAKE_CURRENT_LIST_DIR}/test_examples.cpp
    LIBS lyrevane_core nlohmann_json::nlohmann_json ${LYREVANE_OPENCC_LIBRARY})
target_include_directories(test_examples PRIVATE ${LYREVANE_OPENCC_INCLUDE})

# The model poems against their templates: character counts (with the variant
# forms listed in data/catalogue/examples/variants.tsv) and the tones at the
# fixed positions, judged by a map built from the dataset's strains.
lyrevane_test(test_example_forms ${CMAKE_CURRENT_LIST_DIR}/test_example_forms.cpp
    LIBS lyrevane_core nlohmann_json::nlohmann_json ${LYREVANE_OPENCC_LIBRARY})
target_include_directories(test_example_forms PRIVATE ${LYREVANE_OPENCC_INCLUDE})
