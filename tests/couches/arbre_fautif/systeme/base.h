// A base unit that wrongly knows the main window.
#pragma once
#include "fenetre.h"
