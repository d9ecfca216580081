// The reading half of the compiled module: images, pixels and module matrices to readings.
#pragma once

#include <pybind11/pybind11.h>

// Adds read_image_file, read_grey and read_modules to the module.
void AddReadFunctions(pybind11::module_& module);
