# The console-event hook is linked into the test build only. Its variable's name is looked for
# in both executables: found in the test build (so the look can see it), absent from the product.
# Arguments (-D): PRODUCT, TEST_BUILD.
set(name "TAVLIN_TEST_CONSOLE_EVENT")
file(STRINGS "${TEST_BUILD}" in_test_build REGEX "${name}")
if(NOT in_test_build)
    message(FATAL_ERROR "${name} not found in the test build ${TEST_BUILD}: the look is blind")
endif()
file(STRINGS "${PRODUCT}" in_product REGEX "${name}")
if(in_product)
    message(FATAL_ERROR "the product ${PRODUCT} holds the test hook: ${in_product}")
endif()
message("${name}: in the test build, not in the product")
