// A piece of the library's own.
#pragma once
