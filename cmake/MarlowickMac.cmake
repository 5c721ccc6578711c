# Marlowick.app on a Mac: the real adapters of src/mac/ under the core, the bundle with its
# information values, Sparkle embedded when it is found, code signing, and the contract tests that
# run against the adapters. Included from CMakeLists.txt on Apple hosts only.

enable_language(OBJCXX)
set(CMAKE_OBJCXX_STANDARD 20)
set(CMAKE_OBJCXX_STANDARD_REQUIRED ON)
set(CMAKE_OBJCXX_EXTENSIONS OFF)

set(MARLOWICK_BUNDLE_IDENTIFIER "app.marlowick.Marlowick" CACHE STRING "The bundle identifier of Marlowick.app")
set(MARLOWICK_CODESIGN_IDENTITY "-" CACHE STRING
    "The identity Marlowick.app is signed with; \"-\" signs ad hoc (the accessibility grant is lost on every build)")
set(MARLOWICK_SIGNING "development" CACHE STRING
    "development: no time stamp, no hardened runtime; release: hardened runtime and secure time stamps")
set_property(CACHE MARLOWICK_SIGNING PROPERTY STRINGS development release)
if(MARLOWICK_SIGNING STREQUAL "release" AND MARLOWICK_CODESIGN_IDENTITY STREQUAL "-")
    message(FATAL_ERROR "A release build is signed with a Developer ID: set MARLOWICK_CODESIGN_IDENTITY")
endif()
set(MARLOWICK_FEED_URL "" CACHE STRING "The appcast feed (SUFeedURL); updates stay off without it")
set(MARLOWICK_PUBLIC_ED_KEY "" CACHE STRING "The feed's public EdDSA key (SUPublicEDKey)")
set(MARLOWICK_SPARKLE_DIR "${CMAKE_SOURCE_DIR}/third_party" CACHE PATH "Where Sparkle.framework is looked for")

find_library(SPARKLE_FRAMEWORK Sparkle PATHS ${MARLOWICK_SPARKLE_DIR} NO_DEFAULT_PATH)

file(GLOB MAC_SOURCES CONFIGURE_DEPENDS src/mac/*.mm)
list(FILTER MAC_SOURCES EXCLUDE REGEX ".*/main\\.mm$")
add_library(marlowick_mac STATIC ${MAC_SOURCES})
target_compile_options(marlowick_mac PUBLIC -fobjc-arc)
target_include_directories(marlowick_mac PUBLIC src)
target_link_libraries(marlowick_mac PUBLIC marlowick_core
    "-framework AppKit" "-framework ApplicationServices" "-framework Carbon" "-framework QuartzCore"
    "-framework CoreText" "-framework ServiceManagement")

set(MARLOWICK_PLIST_UPDATE_KEYS "")
if(SPARKLE_FRAMEWORK)
    message(STATUS "Sparkle: ${SPARKLE_FRAMEWORK} (embedded in the app)")
    target_compile_definitions(marlowick_mac PRIVATE MARLOWICK_SPARKLE=1)
    target_compile_options(marlowick_mac PRIVATE -F${MARLOWICK_SPARKLE_DIR})
    target_link_libraries(marlowick_mac PUBLIC ${SPARKLE_FRAMEWORK})
    if(MARLOWICK_FEED_URL AND MARLOWICK_PUBLIC_ED_KEY)
        set(MARLOWICK_PLIST_UPDATE_KEYS
            "<key>SUFeedURL</key>\n\t<string>${MARLOWICK_FEED_URL}</string>\n\t<key>SUPublicEDKey</key>\n\t<string>${MARLOWICK_PUBLIC_ED_KEY}</string>")
    endif()
else()
    message(STATUS "Sparkle: not found in ${MARLOWICK_SPARKLE_DIR}; this build has updates off")
    target_compile_definitions(marlowick_mac PRIVATE MARLOWICK_SPARKLE=0)
endif()

add_executable(Marlowick MACOSX_BUNDLE src/mac/main.mm)
target_link_libraries(Marlowick PRIVATE marlowick_mac)
set_target_properties(Marlowick PROPERTIES
    MACOSX_BUNDLE_INFO_PLIST ${CMAKE_SOURCE_DIR}/src/mac/Info.plist.in
    MACOSX_BUNDLE_BUNDLE_NAME Marlowick
    MACOSX_BUNDLE_GUI_IDENTIFIER ${MARLOWICK_BUNDLE_IDENTIFIER}
    MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION}
    MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
    INSTALL_RPATH "@executable_path/../Frameworks"
    BUILD_WITH_INSTALL_RPATH ON)

# Embed Sparkle, then sign inside out (scripts/codesign-app): Sparkle's helpers, the framework, the app.
if(SPARKLE_FRAMEWORK)
    add_custom_command(TARGET Marlowick POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_BUNDLE_CONTENT_DIR:Marlowick>/Frameworks
        COMMAND rsync -a --delete ${SPARKLE_FRAMEWORK}/ $<TARGET_BUNDLE_CONTENT_DIR:Marlowick>/Frameworks/Sparkle.framework/
        VERBATIM)
endif()
add_custom_command(TARGET Marlowick POST_BUILD
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/codesign-app ${MARLOWICK_CODESIGN_IDENTITY} ${MARLOWICK_SIGNING}
            $<TARGET_BUNDLE_DIR:Marlowick>
    COMMENT "Signing Marlowick.app (${MARLOWICK_SIGNING}, ${MARLOWICK_CODESIGN_IDENTITY})"
    VERBATIM)

# The contract tests that run headless against the real adapters, and the helper application whose
# window and hot key they read and contend with. Those that read another application skip, saying
# why, where the test program lacks the accessibility permission.
enable_testing()
include(GoogleTest)
add_executable(contract_helper tests/platform/contract_helper.mm)
target_compile_options(contract_helper PRIVATE -fobjc-arc)
target_include_directories(contract_helper PRIVATE src tests)
target_link_libraries(contract_helper PRIVATE "-framework AppKit" "-framework Carbon")
add_executable(platform_contract_tests
    tests/platform/run_loop_contract_test.cpp
    tests/platform/services_contract_test.cpp
    tests/platform/accessibility_contract_test.cpp
    tests/platform/hot_keys_contract_test.cpp
    tests/platform/menus_contract_test.cpp
    tests/platform/platform_under_test_mac.mm)
target_include_directories(platform_contract_tests PRIVATE tests)
target_compile_definitions(platform_contract_tests PRIVATE MARLOWICK_CONTRACT_HELPER="$<TARGET_FILE:contract_helper>")
add_dependencies(platform_contract_tests contract_helper)
target_link_libraries(platform_contract_tests PRIVATE marlowick_mac GTest::gtest_main)
gtest_discover_tests(platform_contract_tests DISCOVERY_TIMEOUT 60)
