# The model poems: layout, attributions, and the quotations checked against the
# chinese-poetry dataset (skipped where it is not installed). Tang shi are
# compared after OpenCC's traditional-to-simplified conversion.
find_package(nlohmann_json 3 REQUIRED)

lyrevane_test(test_examples ${CMAKE_CURRENT_LIST_DIR}/test_examples.cpp
    LIBS lyrevane_core test_dataset nlohmann_json::nlohmann_json)

# The model poems against their templates: character counts (with the variant
# forms listed in data/catalogue/examples/variants.tsv) and the tones at the
# fixed positions, judged by a map built from the dataset's strains.
lyrevane_test(test_example_forms ${CMAKE_CURRENT_LIST_DIR}/test_example_forms.cpp
    LIBS lyrevane_core test_dataset)
