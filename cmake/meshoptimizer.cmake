# meshoptimizer, for the mesh tools. Natively it is Debian's libmeshoptimizer-dev. The
# Windows tree builds the same release from Debian's source package, which the scripts fetch
# and unpack under the build folder (scripts/lib.sh), as a static library.
if(WIN32)
    set(KEL_MESHOPTIMIZER_SOURCE "" CACHE PATH "Debian's meshoptimizer source, unpacked")
    if(NOT EXISTS "${KEL_MESHOPTIMIZER_SOURCE}/src/meshoptimizer.h")
        message(FATAL_ERROR "KEL_MESHOPTIMIZER_SOURCE must name the unpacked meshoptimizer source")
    endif()
    file(GLOB KEL_MESHOPTIMIZER_FILES ${KEL_MESHOPTIMIZER_SOURCE}/src/*.cpp)
    add_library(meshoptimizer STATIC ${KEL_MESHOPTIMIZER_FILES})
    target_include_directories(meshoptimizer SYSTEM PUBLIC ${KEL_MESHOPTIMIZER_SOURCE}/src)
    add_library(meshoptimizer::meshoptimizer ALIAS meshoptimizer)
else()
    find_package(meshoptimizer REQUIRED)
endif()
