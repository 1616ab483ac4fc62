# OpenCV's core and imgproc modules as one imported target, OpenCV::ImageProcessing.
# Debian's libopencv-imgproc-dev and libopencv-core-dev carry the headers and libraries but not
# OpenCV's CMake package (that comes with libopencv-dev and every other module), so the package is
# used when present and the two modules are found directly otherwise.
find_package(OpenCV QUIET COMPONENTS core imgproc)
if(OpenCV_FOUND)
    add_library(OpenCV::ImageProcessing INTERFACE IMPORTED)
    target_link_libraries(OpenCV::ImageProcessing INTERFACE opencv_core opencv_imgproc)
    set(OpenCVImageProcessing_FOUND TRUE)
    return()
endif()

find_path(OpenCVImageProcessing_INCLUDE_DIR opencv2/imgproc.hpp PATH_SUFFIXES opencv4)
find_library(OpenCVImageProcessing_CORE_LIBRARY opencv_core)
find_library(OpenCVImageProcessing_IMGPROC_LIBRARY opencv_imgproc)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(OpenCVImageProcessing REQUIRED_VARS
    OpenCVImageProcessing_INCLUDE_DIR OpenCVImageProcessing_CORE_LIBRARY OpenCVImageProcessing_IMGPROC_LIBRARY)
if(OpenCVImageProcessing_FOUND AND NOT TARGET OpenCV::ImageProcessing)
    add_library(OpenCV::ImageProcessing INTERFACE IMPORTED)
    target_include_directories(OpenCV::ImageProcessing INTERFACE ${OpenCVImageProcessing_INCLUDE_DIR})
    target_link_libraries(OpenCV::ImageProcessing INTERFACE
        ${OpenCVImageProcessing_IMGPROC_LIBRARY} ${OpenCVImageProcessing_CORE_LIBRARY})
endif()
