// A tool that reaches past the image file operations into the library.
#include "interne.h"
#include "sky.h"
