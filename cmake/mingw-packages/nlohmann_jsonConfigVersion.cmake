# The version is that of the host's package.
if(EXISTS /usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake)
    include(/usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake)
else()
    set(PACKAGE_VERSION_UNSUITABLE TRUE)
endif()
